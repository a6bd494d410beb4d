#include "base/replacing_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

namespace {

constexpr std::size_t BufferSize = 1 << 16;
// The system is asked to start writing the file out every so many bytes, so that the wait for
// the disk when the file is committed covers only the last of them. A quarter of a megabyte
// left the commit of a 2 MB "OUTPUT.MRC" about 1 ms shorter than a whole one.
constexpr std::int64_t WriteBackBytes = 1 << 18;
constexpr int MaxLinkDepth = 40;
constexpr std::string_view TemporaryMark = ".saving-";

// Files may be opened on more than one thread, as a comparison writes its review beside the rest.
std::atomic<std::int64_t>& NextFileBudget() {
    static std::atomic<std::int64_t> budget = -1;
    return budget;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether the link `status` describes, lying in the folder of `path`, was placed there by another
// user in a folder everybody may write to but only owners may delete from (such as /tmp): followed,
// it would let that user have the program replace any file of the user's. The kernel refuses to
// follow such links for open() when fs.protected_symlinks is set, but the links here are followed
// by hand, so the same rule is kept whatever the setting.
bool PlacedByAnotherUser(const std::string& path, const struct stat& status) {
    struct stat folder {};
    if (::stat(FolderOf(path).c_str(), &folder) != 0) return false;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return shared && status.st_uid != ::geteuid() && status.st_uid != folder.st_uid;
}

// The file a chain of symbolic links ends at, so that the link stays and its target is replaced.
// A link whose target does not exist yet resolves to that target. `refused` is set, and the chain
// left, at a link another user placed in a shared folder.
std::string FollowLinks(std::string path, bool& refused) {
    refused = false;
    for (int depth = 0; depth < MaxLinkDepth; ++depth) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        if (PlacedByAnotherUser(path, status)) {
            refused = true;
            return path;
        }
        std::string link(4096, '\0');
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= link.size()) return path;
        link.resize(static_cast<std::size_t>(length));
        path = link.front() == '/' ? link : FolderOf(path) + "/" + link;
    }
    return path;
}

// Who writes a temporary, as far as a folder shared between machines, boots and containers can
// tell: the host name, the boot id and the process-number namespace, each without dots, joined by
// dots. A part that cannot be read is left empty, and then no process check can match it.
std::string WriterPlace() {
    const auto clean = [](std::string text) {
        std::erase_if(text, [](char c) {
            return !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                     c == '-');
        });
        return text.substr(0, 40);
    };
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0) host[0] = '\0';
    std::string boot;
    if (std::FILE* file = std::fopen("/proc/sys/kernel/random/boot_id", "re")) {
        char id[64] = {};
        if (std::fgets(id, sizeof id, file)) boot = id;
        std::fclose(file);
    }
    std::string space(64, '\0');
    const ssize_t length = ::readlink("/proc/self/ns/pid", space.data(), space.size());
    space.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return clean(host) + "." + clean(boot) + "." + clean(space);
}

const std::string& ThisWriterPlace() {
    static const std::string place = WriterPlace();
    return place;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether the temporary `suffix` (its name after the mark) may still be written by a live process.
// Only a writer on this host, in this boot and in this process-number namespace can be looked
// for; any other is taken to be alive until the file has not changed for a day.
bool WriterMayBeAlive(std::string_view suffix, const struct stat& status) {
    constexpr std::time_t Day = 24 * 60 * 60;
    if (std::time(nullptr) - status.st_mtime >= Day) return false;
    const std::size_t dot = suffix.rfind('.');
    if (dot == std::string_view::npos) return true;  // named by an earlier version: by age only
    const std::string_view place = suffix.substr(0, dot);
    const std::string_view digits = suffix.substr(dot + 1);
    const std::string& here = ThisWriterPlace();
    const bool known = here.front() != '.' && here.back() != '.' && here.find("..") == here.npos;
    if (place != here || !known || !AllDigits(digits)) {
        return true;
    }
    const long pid = std::stol(std::string(digits));
    if (pid <= 0 || pid == ::getpid()) return true;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

}  // namespace

ReplacingFile::~ReplacingFile() {
    if (IsOpen() || (finished_ && !committed_)) Discard();
}

bool ReplacingFile::Open(const std::string& path) {
    if (IsOpen()) Discard();
    reason_.clear();
    committed_ = finished_ = false;
    budget_ = NextFileBudget().exchange(-1);
    written_ = writtenBack_ = 0;
    bool untrustedLink = false;
    target_ = FollowLinks(path, untrustedLink);
    buffer_.clear();
    buffer_.reserve(BufferSize);

    // Standard output is written as the caller's shell opened it: a file it redirects to is
    // appended to or filled in place, never replaced behind the shell's back.
    if (path == "/dev/stdout") {
        direct_ = true;
        fd_ = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
        if (fd_ < 0) Fail(errno);
        return IsOpen();
    }
    if (untrustedLink) {
        reason_ = "it is a link that another user placed in a shared folder";
        return false;
    }
    struct stat status {};
    // The path as given, as the system follows it: /dev/stdout on a pipe is a link to
    // "pipe:[N]", which names no file that FollowLinks could reach.
    const bool exists = ::stat(path.c_str(), &status) == 0;
    direct_ = exists && !S_ISREG(status.st_mode);
    if (direct_) {
        fd_ = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd_ < 0) Fail(errno);
        return IsOpen();
    }

    RemoveStaleTemporaries(target_);
    temporary_ =
        target_ + std::string(TemporaryMark) + ThisWriterPlace() + "." + std::to_string(::getpid());
    constexpr int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    fd_ = ::open(temporary_.c_str(), flags, 0666);
    if (fd_ < 0 && errno == EEXIST) {
        // Left by an earlier process that had this one's number: nobody is writing it.
        ::unlink(temporary_.c_str());
        fd_ = ::open(temporary_.c_str(), flags, 0666);
    }
    if (fd_ < 0) {
        Fail(errno);
        return false;
    }
    if (exists) {
        // Who may read the catalogue or the matches must not change because they were rewritten.
        // Only root may hand the file to its old owner; anyone else keeps it as their own.
        [[maybe_unused]] const int owned = ::fchown(fd_, status.st_uid, status.st_gid);
        if (::fchmod(fd_, status.st_mode & 07777) != 0) Fail(errno);
    }
    return true;
}

void ReplacingFile::Write(std::string_view bytes) {
    if (!IsOpen() || Failed()) return;
    if (buffer_.size() + bytes.size() > BufferSize && !Flush()) return;
    if (bytes.size() >= BufferSize) {
        // A large piece, such as a whole file made in memory, goes out without a copy.
        WriteOut(bytes);
        return;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

bool ReplacingFile::Flush() {
    const bool written = WriteOut(std::string_view(buffer_.data(), buffer_.size()));
    buffer_.clear();
    return written;
}

bool ReplacingFile::WriteOut(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size() && !Failed()) {
        // A large piece, such as a whole file made in memory, is handed over a writeback step at a
        // time, so that the disk starts on its first part while the rest is still being copied.
        std::size_t size = std::min<std::size_t>(bytes.size() - done, WriteBackBytes);
        if (budget_ >= 0) size = std::min<std::size_t>(size, static_cast<std::size_t>(budget_));
        if (size == 0) {
            Fail(ENOSPC);
            break;
        }
        const ssize_t wrote = ::write(fd_, bytes.data() + done, size);
        if (wrote < 0) {
            if (errno != EINTR) Fail(errno);
            continue;
        }
        done += static_cast<std::size_t>(wrote);
        written_ += wrote;
        if (budget_ >= 0) budget_ -= wrote;
#if defined(SYNC_FILE_RANGE_WRITE)
        if (!direct_ && written_ - writtenBack_ >= WriteBackBytes) {
            // Only a request: a failure here is found by the fsync of the commit.
            ::sync_file_range(fd_, writtenBack_, written_ - writtenBack_, SYNC_FILE_RANGE_WRITE);
            writtenBack_ = written_;
        }
#endif
    }
    return !Failed();
}

bool ReplacingFile::Finish() {
    if (finished_) return true;
    if (!IsOpen()) return false;
    Flush();
    if (!Failed() && !direct_ && ::fsync(fd_) != 0) Fail(errno);
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0 && !Failed()) Fail(errno);
    if (direct_) return committed_ = !Failed();
    if (Failed()) {
        ::unlink(temporary_.c_str());
        return false;
    }
    return finished_ = true;
}

bool ReplacingFile::Place() {
    if (direct_) return committed_;
    if (!finished_ || Failed()) return false;
    finished_ = false;
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        Fail(errno);
        ::unlink(temporary_.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return committed_ = true;
}

void ReplacingFile::Discard() {
    Close();
    finished_ = false;
    if (!direct_ && !temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool CommitTogether(std::initializer_list<ReplacingFile*> files) {
    bool complete = true;
    for (ReplacingFile* file : files)
        complete = file->Finish() && complete;
    if (complete) {
        for (ReplacingFile* file : files)
            complete = file->Place() && complete;
        return complete;
    }
    for (ReplacingFile* file : files) {
        if (!file->Failed()) file->FailWith(NotPlacedWithTheOthers);
        file->Discard();
    }
    return false;
}

void ReplacingFile::FailWith(const std::string& reason) {
    if (reason_.empty()) reason_ = reason;
}

void ReplacingFile::Fail(int error) {
    if (reason_.empty()) reason_ = std::strerror(error);
}

void ReplacingFile::Close() {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
    buffer_.clear();
}

FileWriteResult ReplaceFileContents(const std::string& path, std::string_view bytes) {
    ReplacingFile file;
    if (file.Open(path)) {
        file.Write(bytes);
        file.Commit();
    }
    return file.Result();
}

void RemoveStaleTemporaries(const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string prefix = NameOf(path) + std::string(TemporaryMark);
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) return;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix) || name.size() == prefix.size()) continue;
        const std::string full = folder + "/" + std::string(name);
        struct stat status {};
        if (::lstat(full.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
        if (WriterMayBeAlive(name.substr(prefix.size()), status)) continue;
        ::unlink(full.c_str());
    }
    ::closedir(listing);
}

void FailNextFileAfter(std::int64_t bytes) {
    NextFileBudget() = bytes;
}
