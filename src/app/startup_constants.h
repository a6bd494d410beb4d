#pragma once
#include <string>

#include "booklist/data_folder.h"

// Constants set once at start-up and the same on every start.

// The main window's inner size in pixels.
inline constexpr int MainWindowWidth = 960;
inline constexpr int MainWindowHeight = 650;

// The programme's web server, decided once at start-up: "http://" or "https://", a host and a
// path ending in "/"; a download's address is this followed by a file name. Empty when no server
// is configured, and then nothing is fetched. First found: the environment variable
// TALLYLEAF_SERVER_URL, the first line of "Server.txt" in the data folder, or the address the
// program was built with (empty unless the build said otherwise). So a school's IT can point an
// installed copy at a mirror.
std::string ConfiguredServerBaseUrl(const DataFolder& folder);

// `text` as a base address: surrounding spaces dropped, a "/" added when it does not end with
// one. Empty when it is empty or malformed: not "http://" or "https://" followed by a host, or
// holding a space or control character.
std::string NormaliseServerBaseUrl(std::string text);
