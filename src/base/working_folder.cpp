#include "base/working_folder.h"

#include <filesystem>

std::string WorkingFolderPath(std::string_view name) {
    std::error_code error;
    std::string folder = std::filesystem::current_path(error).string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder.append(name);
}
