#pragma once
#include <string>

#include "booklist/data_folder.h"
#include "maintenance/server_address.h"

// Constants set once at start-up and the same on every start.

// The main window's inner size in pixels.
inline constexpr int MainWindowWidth = 960;
inline constexpr int MainWindowHeight = 650;
// The smallest inner size the main window's controls still fit in.
inline constexpr int MinimumMainWidth = 800;
inline constexpr int MinimumMainHeight = 450;

// The programme's web server, decided once at start-up. First found: the environment variable
// TALLYLEAF_SERVER_URL, the first line of "Server.txt" in the data folder, or the address the
// program was built with (empty unless the build said otherwise). So a school's IT can point an
// installed copy at a mirror.
ServerAddress ConfiguredServerAddress(const DataFolder& folder);

// `text` as the server's address: a leading byte-order mark and surrounding spaces dropped, the
// scheme in lower case, a "/" added when it does not end with one. The base address is empty when
// the text is empty or malformed: not "http://" or "https://" in any letter case followed by a
// host, or holding a space or control character.
ServerAddress ServerAddressFrom(std::string text);
