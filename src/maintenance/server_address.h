#pragma once
#include <string>

// The programme's server as the school set it, decided once at start-up.
struct ServerAddress {
    // As set, without a byte-order mark or surrounding spaces; "" when none is set.
    std::string configured;
    // "http://" or "https://", a host and a path ending in "/"; a download's address is this
    // followed by a file name. "" when none is set or `configured` is not such an address.
    std::string baseUrl;
};
