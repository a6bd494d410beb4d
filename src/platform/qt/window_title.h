#pragma once
#include <string>

// Sets the caption of the main window (no effect when there is none).
void SetMainWindowTitle(const std::string& title);
