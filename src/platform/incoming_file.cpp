#include "platform/incoming_file.h"

bool IncomingFile::Open(const std::string& fileName) {
    received_ = 0;
    return file_.Open(fileName);
}

void IncomingFile::Append(std::string_view bytes) {
    received_ += static_cast<std::int64_t>(bytes.size());
    file_.Write(bytes);
}

DownloadResult IncomingFile::Finish(int status, std::int64_t declaredLength,
                                    const std::string& transferError) {
    std::string reason;
    if (!file_.IsOpen()) {
        reason = "cannot create the file: " + file_.Reason();
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
