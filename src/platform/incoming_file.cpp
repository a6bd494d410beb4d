#include "platform/incoming_file.h"

#include "base/text.h"

namespace {

bool IsIdentity(std::string_view encoding) {
    encoding = TrimSpaces(encoding);
    return encoding.empty() || CompareIgnoreCase(encoding, "identity") == 0;
}

std::string TooLarge(std::int64_t maxBytes) {
    return "the file is larger than " + std::to_string(maxBytes) + " bytes";
}

}  // namespace

bool IncomingFile::Open(const std::string& fileName, std::int64_t maxBytes) {
    received_ = 0;
    maxBytes_ = maxBytes;
    refusal_.clear();
    return file_.Open(fileName);
}

bool IncomingFile::Accept(int status, std::int64_t declaredLength,
                          std::string_view contentEncoding) {
    if (!refusal_.empty()) return false;
    // Any other answer is reported by its status; its body is not kept either way.
    if (status != 200) return true;
    if (!IsIdentity(contentEncoding)) {
        refusal_ = "the server sent it encoded as \"" + std::string(contentEncoding) + "\"";
    } else if (maxBytes_ > 0 && declaredLength > maxBytes_) {
        refusal_ = TooLarge(maxBytes_);
    }
    return refusal_.empty();
}

bool IncomingFile::Append(std::string_view bytes) {
    if (!refusal_.empty()) return false;
    received_ += static_cast<std::int64_t>(bytes.size());
    if (maxBytes_ > 0 && received_ > maxBytes_) {
        refusal_ = TooLarge(maxBytes_);
        return false;
    }
    file_.Write(bytes);
    return true;
}

DownloadResult IncomingFile::Finish(int status, std::int64_t declaredLength,
                                    const std::string& transferError) {
    std::string reason;
    if (!file_.IsOpen()) {
        reason = "cannot create the file: " + file_.Reason();
    } else if (!refusal_.empty()) {
        // The transfer was broken off for it, so its own error says less.
        reason = refusal_;
    } else if (!transferError.empty()) {
        reason = transferError;
    } else if (status != 200) {
        reason = "the server answered with status " + std::to_string(status);
    } else if (declaredLength >= 0 && declaredLength != received_) {
        // A connection that broke off early looks like a short body that ended normally.
        reason = "the server sent " + std::to_string(received_) + " of " +
                 std::to_string(declaredLength) + " bytes";
    }
    if (!reason.empty()) {
        file_.Discard();
        return {false, reason};
    }
    if (!file_.Commit()) return {false, "cannot write the file: " + file_.Reason()};
    return {true, {}};
}
