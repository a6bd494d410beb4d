#include "support/small_disk.h"

#include <sys/mount.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

SmallDisk::SmallDisk(std::size_t bytes) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tallyleaf-small-disk-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern;
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0)
        path_ = folder_;
}

SmallDisk::~SmallDisk() {
    if (!path_.empty()) ::umount2(path_.c_str(), MNT_DETACH);
    if (!folder_.empty()) ::rmdir(folder_.c_str());
}
