#include "booklist/data_folder.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Symbolic links are resolved as the system's own idea of a current folder resolves them, so that
// a path shown names the file as `pwd -P` would.
std::string AbsoluteFolder(const std::string& folder) {
    std::error_code error;
    fs::path path = fs::absolute(folder.empty() ? "." : folder, error);
    if (error) return folder;
    fs::path resolved = fs::weakly_canonical(path, error);
    std::string text = (error ? path.lexically_normal() : resolved).string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

std::string Join(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    return path.append(name);
}

}  // namespace

DataFolder::DataFolder(const std::string& folder, const std::string& manualFolder)
    : folder_(AbsoluteFolder(folder)),
      manual_(Join(manualFolder.empty() ? folder_ : manualFolder, ManualFileName)) {}

std::string DataFolder::File(std::string_view name) const {
    return Join(folder_, name);
}
