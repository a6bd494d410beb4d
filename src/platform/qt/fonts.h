#pragma once
#include <QColor>
#include <QFont>

// The program's fonts and colours, created once at start-up before any window. A face the system
// lacks is replaced by its closest match.
struct ProgramFontSet {
    QFont arial10;    // main window: count caption, selectors, book list
    QFont arial12;    // compare dialog option texts
    QFont tahoma8;    // push buttons; default control font of the main and progress windows
    QFont tahoma10;   // default control font of dialogs
    QFont verdana10;  // item details
    QColor labelText;
    QColor buttonFace;
};

void CreateFontsAndColours();
// The set made by CreateFontsAndColours (made then on first use if it was not called).
const ProgramFontSet& ProgramFonts();
