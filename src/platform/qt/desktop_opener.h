#pragma once
#include <string>

// Opens a file or folder with the desktop's own program for it (a PDF viewer, the file manager),
// without waiting for that program to end. False when nothing could show it: the desktop's opener
// is missing, or it started and gave up, as xdg-open does with no program for the file's type.
bool OpenWithDesktop(const std::string& path);
