#pragma once
#include <cstdint>
#include <string>

// Downloading a URL into a local file, for the booklist update and the new-books list: what a
// download gives and how long it may wait. The transfer itself is a service (platform/services.h).
//
// Complete or nothing: the bytes go to a temporary file beside `fileName` as they arrive, and it
// takes that name only once the server has answered with status 200, an uncompressed body within
// the size limit and, when it said how long the body is, exactly that many bytes. Otherwise a file
// of that name is left as it was, and no temporary file stays behind. The call blocks its caller;
// on the desktop the windows keep repainting meanwhile, and nothing the user does in them is acted
// upon. "http://" and "https://" are both fetched through the system's proxy settings (http_proxy,
// https_proxy, no_proxy).

struct DownloadResult {
    bool complete = false;
    std::string reason;  // why not, in a few words, when not complete
    explicit operator bool() const { return complete; }
};

// The defaults suit a list of the booklist's size.
struct DownloadLimits {
    // Gives up when no data has come for this long.
    int idleMilliseconds = 15000;
    // Gives up when the whole download has not ended by then; 0 means no such limit.
    int totalMilliseconds = 120000;
    // Gives up on a body larger than this, at once when the server declares such a length; 0 means
    // no such limit. A server that never ends its body would otherwise fill the disk.
    std::int64_t maxBytes = std::int64_t{256} << 20;
};
