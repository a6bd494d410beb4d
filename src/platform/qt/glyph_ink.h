#pragma once
#include <QFont>
#include <array>

// How far a character's ink reaches out of the place a line of text gives it, in pixels: left of
// its origin, right of its advance, above the font's ascent, below its descent; 0 where it stays
// inside. A "j" reaches left of its origin in most faces, for instance.
struct InkReach {
    qreal left = 0;
    qreal right = 0;
    qreal top = 0;
    qreal bottom = 0;
};

struct FontInk {
    std::array<InkReach, 256> reaches;  // of the characters of Windows-1252, by their byte
    qreal top = 0;                      // the most any of them reaches up and down
    qreal bottom = 0;
};

// The ink of `font`; kept for the last font asked about, as the rows of a list are all in one.
const FontInk& InkOf(const QFont& font);
