#include "booklist/folder_writer_lock.h"

namespace {
constexpr std::chrono::milliseconds FewSeconds(5000);
}  // namespace

FolderWriterLock::FolderWriterLock(const DataFolder& folder, Wait wait)
    : lock_(folder.Lock(), wait == Wait::AFewSeconds ? FewSeconds : std::chrono::milliseconds(0)) {}

std::string FolderBusyText(const DataFolder& folder) {
    return "Another Tallyleaf is working in " + folder.Path() + "; try again when it has finished.";
}
