#include "print/pdf_target.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <utility>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0';
}

std::string_view TrimEnd(std::string_view text) {
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "N G obj": the start of a cross-reference stream, which newer writers use instead of a table.
bool StartsObject(std::string_view text) {
    std::size_t at = 0;
    for (int number = 0; number < 2; ++number) {
        const std::size_t start = at;
        while (at < text.size() && IsDigit(text[at]))
            ++at;
        if (at == start) return false;
        const std::size_t digitsEnd = at;
        while (at < text.size() && IsSpace(text[at]))
            ++at;
        if (at == digitsEnd) return false;
    }
    return text.substr(at).starts_with("obj");
}

// The whole contents of the file open as `fd`, from its start.
bool ReadAll(int fd, std::string& bytes, std::string& reason) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    bytes.resize(static_cast<std::size_t>(status.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got =
            ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            reason = std::strerror(errno);
            return false;
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return true;
}

}  // namespace

bool IsCompletePdf(std::string_view bytes) {
    if (!bytes.starts_with("%PDF-")) return false;
    std::string_view rest = TrimEnd(bytes);
    if (!rest.ends_with("%%EOF")) return false;
    rest = TrimEnd(rest.substr(0, rest.size() - 5));
    std::size_t digits = rest.size();
    while (digits > 0 && IsDigit(rest[digits - 1]))
        --digits;
    const std::string_view offsetText = rest.substr(digits);
    if (offsetText.empty() || offsetText.size() > 15) return false;
    rest = TrimEnd(rest.substr(0, digits));
    if (!rest.ends_with("startxref")) return false;
    std::size_t offset = 0;
    for (const char c : offsetText)
        offset = offset * 10 + static_cast<std::size_t>(c - '0');
    if (offset >= bytes.size()) return false;
    const std::string_view section = bytes.substr(offset);
    return section.starts_with("xref") || StartsObject(section);
}

PdfTarget::~PdfTarget() {
    Discard();
}

bool PdfTarget::Open(const std::string& path) {
    Discard();
    reason_.clear();
    // The target first: a folder that does not exist or cannot be written is told before the
    // list is drawn, and a file of the target's own is left as it was.
    if (!file_.Open(path)) {
        reason_ = file_.Reason();
        return false;
    }
    // Qt opens its output by name; the file in memory has one in /proc. Nothing of it stays
    // behind when the program is killed.
    memory_ = ::memfd_create("tallyleaf-print.pdf", MFD_CLOEXEC);
    if (memory_ < 0) {
        reason_ = std::strerror(errno);
        Discard();
        return false;
    }
    drawingPath_ = "/proc/self/fd/" + std::to_string(memory_);
    return true;
}

bool PdfTarget::Commit() {
    if (memory_ < 0 || !file_.IsOpen()) {
        if (reason_.empty()) reason_ = "the file was not opened";
        return false;
    }
    std::string bytes;
    if (!ReadAll(memory_, bytes, reason_)) {
        Discard();
        return false;
    }
    if (!IsCompletePdf(bytes)) {
        reason_ = "the PDF was not completed";
        Discard();
        return false;
    }
    file_.Write(bytes);
    if (!file_.Commit()) {
        reason_ = file_.Reason();
        Discard();
        return false;
    }
    Discard();
    return true;
}

void PdfTarget::Discard() {
    if (file_.IsOpen()) file_.Discard();
    if (memory_ >= 0) ::close(std::exchange(memory_, -1));
    drawingPath_.clear();
}
