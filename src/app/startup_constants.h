#pragma once
#include <string>

// Constants set once at start-up and the same on every start: there is no configuration.

// The main window's inner size in pixels.
inline constexpr int MainWindowWidth = 960;
inline constexpr int MainWindowHeight = 650;

// The programme's web server: "http://", its host and "/Tallyleaf/"; a download's address is this
// followed by a file name.
inline constexpr const char* DefaultServerBaseUrl = "http://readvane.example.org/Tallyleaf/";

// The base in force. Tests point it at a server of their own on 127.0.0.1.
const std::string& ServerBaseUrl();
void SetServerBaseUrl(const std::string& url);
