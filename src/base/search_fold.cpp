#include "base/search_fold.h"

#include <array>

namespace {

// What each byte folds to: one or two characters, or the byte itself when left empty.
struct FoldTable {
    std::array<char[3], 256> to{};

    constexpr FoldTable() {
        for (int c = 0; c < 256; ++c) {
            to[c][0] = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        const auto set = [this](int first, int last, const char* folded) {
            for (int c = first; c <= last; ++c) {
                to[c][0] = folded[0];
                to[c][1] = folded[0] ? folded[1] : 0;
            }
        };
        set(0x83, 0x83, "f");
        set(0x8A, 0x8A, "s");
        set(0x8C, 0x8C, "oe");
        set(0x8E, 0x8E, "z");
        set(0x91, 0x92, "'");
        set(0x93, 0x94, "\"");
        set(0x96, 0x97, "-");
        set(0x9A, 0x9A, "s");
        set(0x9C, 0x9C, "oe");
        set(0x9E, 0x9E, "z");
        set(0x9F, 0x9F, "y");
        set(0xC0, 0xC5, "a");
        set(0xC6, 0xC6, "ae");
        set(0xC7, 0xC7, "c");
        set(0xC8, 0xCB, "e");
        set(0xCC, 0xCF, "i");
        set(0xD0, 0xD0, "d");
        set(0xD1, 0xD1, "n");
        set(0xD2, 0xD6, "o");
        set(0xD8, 0xD8, "o");
        set(0xD9, 0xDC, "u");
        set(0xDD, 0xDD, "y");
        set(0xDE, 0xDE, "th");
        set(0xDF, 0xDF, "ss");
        set(0xE0, 0xE5, "a");
        set(0xE6, 0xE6, "ae");
        set(0xE7, 0xE7, "c");
        set(0xE8, 0xEB, "e");
        set(0xEC, 0xEF, "i");
        set(0xF0, 0xF0, "d");
        set(0xF1, 0xF1, "n");
        set(0xF2, 0xF6, "o");
        set(0xF8, 0xF8, "o");
        set(0xF9, 0xFC, "u");
        set(0xFD, 0xFD, "y");
        set(0xFE, 0xFE, "th");
        set(0xFF, 0xFF, "y");
    }
};

constexpr FoldTable Folds;

}  // namespace

void AppendSearchFolded(std::string_view text, std::string& out) {
    for (const char c : text) {
        const char* folded = Folds.to[static_cast<unsigned char>(c)];
        out += folded[0];
        if (folded[1]) out += folded[1];
    }
}

std::string SearchFolded(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    AppendSearchFolded(text, folded);
    return folded;
}
