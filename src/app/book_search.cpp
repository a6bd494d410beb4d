#include "app/book_search.h"

#include "base/search_fold.h"

namespace {

std::string WithoutSpacesOrHyphens(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if (c != ' ' && c != '-') kept += c;
    }
    return kept;
}

}  // namespace

BookSearch::BookSearch(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) {
            std::string folded = SearchFolded(text.substr(start, end - start));
            words_.push_back({folded, WithoutSpacesOrHyphens(folded)});
        }
        start = end + 1;
    }
}

bool BookSearch::Keeps(const PackedFields& entry) const {
    if (words_.empty()) return true;
    // The fields are joined by a byte no word holds, so that no word is found across two of them.
    text_.clear();
    AppendSearchFolded(entry[FieldTitle], text_);
    text_ += '\t';
    AppendSearchFolded(entry[FieldAuthor], text_);
    text_ += '\t';
    text_ += entry[FieldId];
    bool isbnRead = false;
    for (const Word& word : words_) {
        if (text_.find(word.folded) != std::string::npos) continue;
        if (word.digits.empty()) return false;
        if (!isbnRead) {
            isbn_ = WithoutSpacesOrHyphens(SearchFolded(entry[FieldIsbn]));
            isbnRead = true;
        }
        if (isbn_.find(word.digits) == std::string::npos) return false;
    }
    return true;
}
