#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// What became of writing a file: `reason` is the system's word for the first failure.
struct FileWriteResult {
    bool written = false;
    std::string reason;
    explicit operator bool() const { return written; }
};

// Writes a file that replaces another only once it is complete. The bytes go to a temporary file
// beside the target, which is renamed over the target by Commit, so a killed run, a full disk or
// a reader of the old file never sees a torn one. A symbolic link is followed and its target
// replaced; the old file's permissions are kept. A target that exists and is not a regular file
// (a pipe, a terminal, /dev/stdout) cannot be replaced and is written directly.
class ReplacingFile {
  public:
    ReplacingFile() = default;
    ~ReplacingFile();  // discards what was not committed
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // False when the file cannot be created; Reason() says why.
    bool Open(const std::string& path);
    // Buffers the bytes; a failure is remembered and later writes do nothing.
    void Write(std::string_view bytes);
    // Puts the complete file in the target's place. False when anything failed since Open, and
    // then the target is as it was.
    bool Commit() { return Finish() && Place(); }
    // The two steps of Commit, for files that are to replace theirs together: the file is
    // completed beside its target and on the disk, then put in the target's place.
    bool Finish();
    bool Place();
    // Throws away what was written; the target stays as it was.
    void Discard();

    bool IsOpen() const { return fd_ >= 0; }
    bool Failed() const { return !reason_.empty(); }
    const std::string& Reason() const { return reason_; }
    // Marks the file failed for `reason` (when nothing failed before): it will not be placed.
    void FailWith(const std::string& reason);
    FileWriteResult Result() const { return {!Failed() && committed_, reason_}; }

  private:
    bool Flush();
    bool WriteOut(std::string_view bytes);
    void Fail(int error);
    void Close();

    int fd_ = -1;
    bool direct_ = false;    // writing straight into a file that cannot be replaced
    bool finished_ = false;  // complete beside the target, not yet in its place
    bool committed_ = false;
    std::string target_;
    std::string temporary_;
    std::vector<char> buffer_;
    std::int64_t budget_ = -1;      // bytes the output may still take before it fails; -1: no limit
    std::int64_t written_ = 0;      // bytes handed to the system
    std::int64_t writtenBack_ = 0;  // of those, the ones it was asked to start writing out
    std::string reason_;
};

// Puts every one of `files` in its target's place, in the order given, only when every one is
// complete: otherwise none is, each target stays as it was, and each file's Reason() says what
// failed (the ones that did not fail: that another did).
bool CommitTogether(std::initializer_list<ReplacingFile*> files);
inline constexpr const char* NotPlacedWithTheOthers =
    "another file of the same results could not be written";

// Writes `bytes` as the whole new contents of `path`, replacing it as ReplacingFile does.
FileWriteResult ReplaceFileContents(const std::string& path, std::string_view bytes);

// The temporary files that ReplacingFile leaves behind when its process is killed are named after
// their target and their writer: host name, boot id, process-number namespace and process number.
// Removes those of `path` whose writer is known to have ended (the same host, boot and namespace,
// and no such process), and any that has not changed for a day; a writer on another machine or in
// another container sharing the folder may still be at work.
void RemoveStaleTemporaries(const std::string& path);

// For tests: the next file opened fails with "No space left on device" once it has taken `bytes`
// bytes, as a full disk would. A negative count takes the preset back.
void FailNextFileAfter(std::int64_t bytes);
