#pragma once

// The windows and the printed lists are laid out for Tahoma, and the faces that stand in for it
// are so much wider that labels are cut: Wine's metric-compatible Tahoma is taken when the system
// has none. Both the desktop and the command line's printing call it, so that a list prints in
// the same faces whichever printed it. Needs a QGuiApplication.
void AddTahomaIfMissing();
