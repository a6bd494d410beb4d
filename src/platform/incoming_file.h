#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/replacing_file.h"
#include "platform/download.h"

// The file side of a download, whoever does the transfer: the body goes to a temporary file
// beside the target as it arrives, and takes the target's name only when Finish finds it whole.
class IncomingFile {
  public:
    // False when the temporary file cannot be created; the reason is kept for Finish. A body of
    // more than `maxBytes` is refused (0: any size).
    bool Open(const std::string& fileName, std::int64_t maxBytes = 0);
    // The answer's headers, as soon as they are known: false when its body is refused, for a
    // declared length above the limit or a Content-Encoding other than identity, which would be
    // stored as it came.
    bool Accept(int status, std::int64_t declaredLength, std::string_view contentEncoding);
    // False once the body has gone past the limit; nothing more is written then.
    bool Append(std::string_view bytes);
    // Commits the file when the transfer ended without error (`transferError` empty) with status
    // 200, nothing refused and, when the server declared a length (-1 when it did not), exactly
    // that many bytes. Otherwise the temporary file goes and the target stays as it was.
    DownloadResult Finish(int status, std::int64_t declaredLength,
                          const std::string& transferError);

    std::int64_t Received() const { return received_; }

  private:
    ReplacingFile file_;
    std::int64_t received_ = 0;
    std::int64_t maxBytes_ = 0;
    std::string refusal_;  // why the body is not taken, once that is known
};
