#include "booklist/matching_indexes.h"

#include <algorithm>

#include "base/text.h"
#include "booklist/isbn.h"

namespace {

// The texts of the entries are kept in pieces of at least this size, each made once with its room:
// a piece is never moved, so a long key costs its own length and not a copy of all before it.
constexpr std::size_t TextPieceBytes = 1 << 20;

// The entry under `key`, made with an empty value when there is none; the key is copied only
// then, as most lookups find a key entered before.
template <typename Value>
Value& EntryAt(TextTable<Value>& table, std::string_view key) {
    auto found = table.find(key);
    if (found == table.end()) found = table.try_emplace(std::string(key)).first;
    return found->second;
}

void EnterAuthor(MatchingIndexes& indexes, const IndexedEntry& entry) {
    auto& ids = EntryAt(indexes.AuthorIndex, entry.surnameKey);
    if (!entry.idLoadedBefore || std::find(ids.begin(), ids.end(), entry.id) == ids.end()) {
        ids.push_back(entry.id);
    }
    std::string key;
    key.reserve(entry.surnameKey.size() + entry.titleKey.size());
    key.append(entry.surnameKey).append(entry.titleKey);
    indexes.AuthorTitleIndex.insert_or_assign(std::move(key), std::string(entry.idText));
}

void EnterSeries(MatchingIndexes& indexes, const IndexedEntry& entry) {
    if (entry.seriesKey.empty()) return;
    EntryAt(indexes.SeriesLevelIndex, entry.seriesKey) = entry.level;
    EntryAt(indexes.SeriesAuthorIndex, entry.seriesKey) = entry.surnameKey;
}

std::string_view Find(const TextTable<std::string>& table, std::string_view key) {
    const auto found = table.find(key);
    return found == table.end() ? std::string_view() : std::string_view(found->second);
}

}  // namespace

// Calls `visit` with the entries given from the `from`th on.
template <typename Visit>
void BooklistIndexes::VisitGiven(std::size_t from, Visit&& visit) const {
    std::size_t piece = 0;
    std::string_view text;
    for (std::size_t i = 0; i < given_.size(); ++i) {
        const GivenEntry& given = given_[i];
        // An entry's texts lie in one piece; one that does not fit in a piece begins the next.
        if (text.empty() && piece < givenText_.size()) text = givenText_[piece++];
        IndexedEntry entry{given.id, given.idLoadedBefore, {}, {}, {}, {}, {}, {}};
        std::string_view* const field[] = {&entry.idText,    &entry.titleKey, &entry.surnameKey,
                                           &entry.seriesKey, &entry.level,    &entry.isbns};
        for (std::size_t p = 0; p < given.sizes.size(); ++p) {
            *field[p] = text.substr(0, given.sizes[p]);
            text.remove_prefix(given.sizes[p]);
        }
        if (i >= from) visit(entry);
    }
}

const MatchingIndexes& BooklistIndexes::AuthorTables() const {
    if (authorsEntered_ == given_.size()) return tables_;
    if (authorsEntered_ == 0) {
        tables_.AuthorTitleIndex.reserve(reserved_);
        tables_.AuthorIndex.reserve(reserved_ / 4);
    }
    VisitGiven(authorsEntered_, [&](const IndexedEntry& entry) { EnterAuthor(tables_, entry); });
    authorsEntered_ = given_.size();
    return tables_;
}

const MatchingIndexes& BooklistIndexes::SeriesTables() const {
    if (seriesEntered_ == given_.size()) return tables_;
    VisitGiven(seriesEntered_, [&](const IndexedEntry& entry) { EnterSeries(tables_, entry); });
    seriesEntered_ = given_.size();
    return tables_;
}

void BooklistIndexes::AddTexts(std::int64_t id, std::string_view idText, std::string_view titleKey,
                               std::string_view surnameKey, std::string_view seriesKey,
                               std::string_view level, std::string_view isbns,
                               bool idLoadedBefore) {
    GivenEntry& entry = given_.emplace_back();
    entry.id = id;
    entry.idLoadedBefore = idLoadedBefore;
    anyIdGivenAgain_ |= idLoadedBefore;
    // A key of more than 4 GB can match no catalogue field: its start stands for it.
    const std::string_view texts[] = {
        idText.substr(0, UINT32_MAX),     titleKey.substr(0, UINT32_MAX),
        surnameKey.substr(0, UINT32_MAX), seriesKey.substr(0, UINT32_MAX),
        level.substr(0, UINT32_MAX),      isbns.substr(0, UINT32_MAX)};
    std::size_t needed = 0;
    for (const std::string_view text : texts)
        needed += text.size();
    if (givenText_.empty() || givenText_.back().capacity() - givenText_.back().size() < needed)
        givenText_.emplace_back().reserve(std::max(needed, TextPieceBytes));
    std::size_t i = 0;
    for (const std::string_view text : texts) {
        givenText_.back() += text;
        entry.sizes[i++] = static_cast<std::uint32_t>(text.size());
    }
}

const MatchingIndexes& BooklistIndexes::Tables() const {
    SeriesTables();
    return AuthorTables();
}

void BooklistIndexes::ForEachEntry(const std::function<void(const IndexedEntry&)>& visit) const {
    VisitGiven(0, visit);
}

void BooklistIndexes::Reserve(std::size_t entries) {
    reserved_ = std::max(reserved_, entries);
    given_.reserve(entries);
}

void BooklistIndexes::Add(const BookRecord& record, bool idLoadedBefore) {
    std::string isbns;
    AppendIsbnKeys(record.isbn, isbns);
    AddTexts(record.id, std::to_string(record.id), record.titleKey, record.surnameKey,
             record.seriesKey, record.level, isbns, idLoadedBefore);
}

void BooklistIndexes::Add(const PackedFields& entry, bool idLoadedBefore, std::string_view isbns) {
    // The id of a packed line is plain decimal, the same text the record's number gives.
    AddTexts(ReadWholeNumber(entry[FieldId]), entry[FieldId], entry[FieldTitleKey],
             entry[FieldSurnameKey], entry[FieldSeriesKey], entry[FieldLevel], isbns,
             idLoadedBefore);
}

const std::vector<std::int64_t>& BooklistIndexes::FindAuthorIds(std::string_view surnameKey) const {
    static const std::vector<std::int64_t> none;
    const auto& table = AuthorTables().AuthorIndex;
    const auto found = table.find(surnameKey);
    return found == table.end() ? none : found->second;
}

std::string_view BooklistIndexes::FindAuthorTitle(std::string_view surnameKey,
                                                  std::string_view titleKey) const {
    std::string key;
    key.reserve(surnameKey.size() + titleKey.size());
    key.assign(surnameKey).append(titleKey);
    return Find(AuthorTables().AuthorTitleIndex, key);
}

std::string_view BooklistIndexes::FindSeriesLevel(std::string_view seriesKey) const {
    return Find(SeriesTables().SeriesLevelIndex, seriesKey);
}

std::string_view BooklistIndexes::FindSeriesAuthor(std::string_view seriesKey) const {
    return Find(SeriesTables().SeriesAuthorIndex, seriesKey);
}
