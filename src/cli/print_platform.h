#pragma once

// Chooses Qt's platform for the print program before its application is created. A PDF and a job
// for the spooler need no display, but Qt's default platform (xcb) aborts the program when DISPLAY
// names no X server it can connect to. So unless QT_QPA_PLATFORM is set, a display that cannot be
// opened gives the offscreen platform (Wayland first, when its socket answers).
void ChoosePrintPlatform();

// Whether libxcb connects to the X display `name` (DISPLAY's syntax), as Qt's xcb platform would;
// false when libxcb is not installed. A null or empty name is no display.
bool XDisplayOpens(const char* name);
// Whether the Wayland display `name` (WAYLAND_DISPLAY's syntax: a socket name in `runtimeDir`, or
// an absolute path) accepts a connection.
bool WaylandDisplayAnswers(const char* name, const char* runtimeDir);
