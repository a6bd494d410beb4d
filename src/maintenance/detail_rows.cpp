#include "maintenance/detail_rows.h"

namespace {

// Past this many characters the categories no longer fit on one line of the value box.
constexpr std::size_t OneLineCategoryLength = 70;

// "Publisher:" unless there is only a year to show.
DetailRow PublisherRow(const BookRecord& r) {
    DetailRow row{"Publisher:", r.publisher, 0, 20};
    if (r.publisher.empty() && !r.yearPublished.empty()) {
        row.label = "Published:";
        row.value = r.yearPublished;
    } else if (!r.yearPublished.empty()) {
        row.value += ", " + r.yearPublished;
    }
    return row;
}

}  // namespace

std::vector<DetailRow> LayOutDetailRows(const BookRecord& r) {
    const bool longCategories = r.categories.size() > OneLineCategoryLength;
    struct Planned {
        DetailRow row;
        bool shown;
        int advance;  // from the top of the row shown before it
    };
    const Planned plan[] = {
        {{"Book ID number:", std::to_string(r.id), 0, 20}, true, 0},
        {{"Title:", r.title, 0, 42}, true, 22},
        {{"Author:", r.author, 0, 20}, true, 46},
        {{"Australian author?", r.australianAuthor, 0, 20}, true, 22},
        {PublisherRow(r), true, 22},
        {{"ISBN:", r.isbn, 0, 20}, !r.isbn.empty(), 22},
        {{"Library call number:", r.callNumber, 0, 20}, !r.callNumber.empty(), 22},
        {{"Level:", r.level, 0, 20}, true, 22},
        {{"Series:", r.series, 0, 20}, !r.series.empty(), 22},
        {{"Category:", r.categories, 0, longCategories ? 42 : 18}, true, 22},
        {{"Format:", r.format, 0, 20}, true, longCategories ? 44 : 22},
        {{"SCIS number:", r.scisNumber, 0, 20}, !r.scisNumber.empty(), 22},
        {{"Annotation:", r.annotation, 0, 270}, true, 28},
    };
    std::vector<DetailRow> rows;
    int top = 8;
    for (const Planned& planned : plan) {
        if (!planned.shown) continue;
        top += planned.advance;
        rows.push_back(planned.row);
        rows.back().top = top;
    }
    return rows;
}
