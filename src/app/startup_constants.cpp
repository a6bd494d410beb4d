#include "app/startup_constants.h"

namespace {
std::string& TheServerBaseUrl() {
    static std::string url = DefaultServerBaseUrl;
    return url;
}
}  // namespace

const std::string& ServerBaseUrl() {
    return TheServerBaseUrl();
}
void SetServerBaseUrl(const std::string& url) {
    TheServerBaseUrl() = url;
}
