#include "cli/print_platform.h"

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// libxcb's own calls, loaded at run time: the program needs no X library to build or to run
// without a display, and the connection is made exactly as the xcb platform makes it (the
// display's socket, its host, its authority file).
struct XcbConnection;
using XcbConnect = XcbConnection* (*)(const char*, int*);
using XcbConnectionHasError = int (*)(XcbConnection*);
using XcbDisconnect = void (*)(XcbConnection*);

}  // namespace

bool XDisplayOpens(const char* name) {
    if (!name || !*name) return false;
    void* library = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!library) return false;
    const auto connect = reinterpret_cast<XcbConnect>(::dlsym(library, "xcb_connect"));
    const auto hasError =
        reinterpret_cast<XcbConnectionHasError>(::dlsym(library, "xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<XcbDisconnect>(::dlsym(library, "xcb_disconnect"));
    bool opens = false;
    if (connect && hasError && disconnect) {
        // xcb_connect never gives null: a failed connection is an object in an error state,
        // which must be disconnected all the same.
        XcbConnection* connection = connect(name, nullptr);
        opens = connection && hasError(connection) == 0;
        if (connection) disconnect(connection);
    }
    ::dlclose(library);
    return opens;
}

bool WaylandDisplayAnswers(const char* name, const char* runtimeDir) {
    if (!name || !*name) return false;
    std::string path = name;
    if (path.front() != '/') {
        if (!runtimeDir || !*runtimeDir) return false;
        path = std::string(runtimeDir) + "/" + path;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answers =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return answers;
}

void ChoosePrintPlatform() {
    if (const char* chosen = std::getenv("QT_QPA_PLATFORM"); chosen && *chosen) return;
    if (XDisplayOpens(std::getenv("DISPLAY"))) return;
    // Qt's default platform here is xcb, which would abort; Wayland when it answers, with the
    // offscreen platform after it should its plugin be missing.
    const bool wayland =
        WaylandDisplayAnswers(std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_RUNTIME_DIR"));
    ::setenv("QT_QPA_PLATFORM", wayland ? "wayland;offscreen" : "offscreen", 1);
}
