#pragma once
#include <string>
#include <vector>

#include "booklist/book_record.h"

// The rows of the Item Details window, laid out top to bottom: a right-aligned label beside its
// value. Rows that have nothing to show are left out and take no room.

struct DetailRow {
    std::string label;
    std::string value;
    int top = 0;     // of the value box; the label sits one pixel lower
    int height = 0;  // of the value box
};

inline constexpr int DetailLabelX = 0;
inline constexpr int DetailLabelWidth = 140;
inline constexpr int DetailLabelHeight = 18;
inline constexpr int DetailValueX = 146;
inline constexpr int DetailValueWidth = 540;

std::vector<DetailRow> LayOutDetailRows(const BookRecord& record);
