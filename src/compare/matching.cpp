#include "compare/matching.h"

#include <bit>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "base/byte_scan.h"
#include "base/text.h"
#include "base/text_encoding.h"
#include "booklist/booklist.h"
#include "booklist/isbn.h"
#include "booklist/keys.h"
#include "compare/catalogue_text.h"
#include "compare/key_hash.h"
#include "compare/marc_reader.h"
#include "compare/rejected_pairs.h"

std::string_view CatalogueSurnamePart(std::string_view author) {
    std::size_t cut = author.find(',');
    if (cut == std::string_view::npos) cut = author.find(' ');
    return author.substr(0, cut);
}

void CatalogueSurnameInto(std::string_view author, std::string& surname) {
    surname.clear();
    AppendNormalisedKeyOfUtf8(CatalogueSurnamePart(author), surname);
}

namespace {

// Sized to stay in the processor's second-level cache beside the block being read: a probe per
// record that misses the cache costs more than the few extra records a larger filter would spare.
constexpr std::size_t KnownKeyWords = std::size_t{1} << 12;
constexpr std::size_t KnownPrefixWords = std::size_t{1} << 15;
constexpr std::size_t SurnameWords = std::size_t{1} << 10;
constexpr std::size_t SurnamePrefixWords = std::size_t{1} << 11;
constexpr std::size_t IsbnFilterWords = std::size_t{1} << 11;
static_assert(std::has_single_bit(KnownKeyWords) && std::has_single_bit(KnownPrefixWords) &&
              std::has_single_bit(SurnameWords) && std::has_single_bit(SurnamePrefixWords) &&
              std::has_single_bit(IsbnFilterWords));

// A key sets three bits of one word of a filter, so that a probe reads one word; the word is
// picked by the hash's high bits and the bits by its low ones. The word count is a power of two.
std::uint64_t FilterBits(std::uint64_t hash) {
    return BitAt(hash) | BitAt(hash >> 6) | BitAt(hash >> 12);
}

bool FilterMayHold(const std::vector<std::uint64_t>& words, std::uint64_t hash) {
    const std::uint64_t bits = FilterBits(hash);
    return (words[(hash >> 32) & (words.size() - 1)] & bits) == bits;
}

void FilterAdd(std::vector<std::uint64_t>& words, std::uint64_t hash) {
    words[(hash >> 32) & (words.size() - 1)] |= FilterBits(hash);
}

// An ISBN-13's bits spread over the whole word, for the filter.
std::uint64_t IsbnHash(std::uint64_t isbn) {
    return isbn * 0x9E3779B97F4A7C15ULL;
}

// Whether an author-plus-title key may be in the booklist: false means surely not.
bool MayBeKnown(const ComparisonRun& run, std::uint64_t hash) {
    return FilterMayHold(run.knownKeys, hash);
}

void AddKnown(ComparisonRun& run, std::uint64_t hash) {
    FilterAdd(run.knownKeys, hash);
}

// The first of the author's entries whose title key equals the record's, or holds it as whole
// words, or is held so by it. Null when none.
template <typename Passed>
const AuthorBook* FindByTitle(std::span<const AuthorBook> books, std::string_view titleKey,
                              int& levelBand, Passed passed) {
    // Most of an author's other books share no title with the record: their pairs of letters
    // tell so without a search.
    const std::uint64_t titlePairs = KeyPairBits(titleKey);
    for (const AuthorBook& book : books) {
        const std::string_view entryKey = book.titleKey;
        if (entryKey.empty()) continue;
        const bool entryMayBeInTitle = (book.titlePairs & ~titlePairs) == 0;
        const bool titleMayBeInEntry = (titlePairs & ~book.titlePairs) == 0;
        if (((entryMayBeInTitle && KeyHoldsWords(titleKey, entryKey)) ||
             (titleMayBeInEntry && KeyHoldsWords(entryKey, titleKey))) &&
            !passed(book)) {
            levelBand = book.levelBand;
            return &book;
        }
    }
    return nullptr;
}

// When the record's series belongs to the same author, the author's last entry with the series'
// level. Null otherwise.
const AuthorBook* FindBySeries(const BooklistIndexes& indexes, std::span<const AuthorBook> books,
                               std::string_view seriesKey, std::string_view surname,
                               int& levelBand) {
    if (seriesKey.empty() || books.empty()) return nullptr;
    const std::string_view level = indexes.FindSeriesLevel(seriesKey);
    if (level.empty() || indexes.FindSeriesAuthor(seriesKey) != surname) return nullptr;
    levelBand = LevelBandOf(level);
    return &books.back();
}

// Writes the tagged record; where it went, for the review.
WrittenRecord WriteMatchedRecord(const CatalogueRecord& record, int levelBand, ComparisonRun& run) {
    const RebuildResult rebuilt = TagMatchedRecord(record, levelBand, run.options, run.bytes);
    if (rebuilt != RebuildResult::Rebuilt) {
        ++(rebuilt == RebuildResult::TooLong ? run.notWritten : run.malformed);
        return {};
    }
    if (!run.output) return {};
    run.output->Write(run.bytes);
    if (run.digestLater) {
        run.digestLater->append(run.bytes);
    } else {
        run.outputDigest.Add(run.bytes);
    }
    const WrittenRecord written{run.outputBytes, run.bytes};
    run.outputBytes += static_cast<std::int64_t>(run.bytes.size());
    return written;
}

// Whether a record by `surname` can match an entry by any test: its surname must be a surname
// key of the booklist, or with its title key make up an author-plus-title key. Then either the
// surname begins a surname key (the keys are the same, or the title key takes up the rest of
// the entry's surname), or a surname key is a shorter beginning of it and the surname begins an
// author-plus-title key. The few surname keys and their beginnings have small filters that stay
// in the cache. The many beginnings of author-plus-title keys are needed only in the second case,
// which most records, by authors the booklist does not have, never reach: their filter is made
// the first time a record does.
bool MayMatchBySurname(ComparisonRun& run, std::string_view surname, std::uint64_t surnameHash) {
    if (FilterMayHold(run.surnamePrefixes, surnameHash)) return true;
    // Is a surname key a shorter beginning of the surname? The beginnings are tried shortest
    // first, and the first that begins no surname key leaves none longer to find.
    bool runsIntoTitle = false;
    ForEachBeginningHash(surname, [&](std::size_t length, std::uint64_t hash) {
        if (length >= surname.size() || !FilterMayHold(run.surnamePrefixes, hash)) return true;
        runsIntoTitle = FilterMayHold(run.surnameKeys, hash) &&
                        !run.authorBooks.Find(surname.substr(0, length), hash).empty();
        return runsIntoTitle;
    });
    if (!runsIntoTitle) return false;
    if (run.knownPrefixes.empty()) FillKnownPrefixes(run);
    return FilterMayHold(run.knownPrefixes, surnameHash);
}

}  // namespace

namespace {

// The record in hand, with its encoding decided once, when a text of it needs it.
struct RecordInHand {
    RecordInHand(std::string_view bytes, MatchScratch& scratch, RecordDecision& decision)
        : bytes(bytes), scratch(scratch), decision(decision) {}

    std::string_view bytes;
    MatchScratch& scratch;
    RecordDecision& decision;
    std::optional<CatalogueEncoding> encoding;
    // The record's side of a rejected pair, read when first needed, and its 001 as its bytes.
    struct PairSide {
        RejectedPair pair;
        std::string controlNumber;
    };
    std::optional<PairSide> side;

    CatalogueEncoding Encoding() {
        if (!encoding) encoding = DecideCatalogueEncoding(bytes);
        return *encoding;
    }
};

// Keys are made from the record's text decoded.
void AppendRecordKey(RecordInHand& in, std::string_view text, std::string& key) {
    if (AppendNormalisedKeyOfAscii(text, key)) return;
    in.scratch.decoded = CatalogueTextAsUtf8(text, in.Encoding());
    AppendNormalisedKeyOfUtf8(in.scratch.decoded, key);
}

// CatalogueSurnamePart of the record's author. Most author statements begin with an $a that holds
// a comma: the part is then read where it stands, and the whole statement is made only for the
// others, into the scratch's author, which is otherwise left as it was.
std::string_view SurnamePartOf(MatchScratch& scratch) {
    const std::string_view lead = scratch.fields.AuthorLead();
    if (const std::size_t comma = lead.find(','); comma != std::string_view::npos)
        return lead.substr(0, comma);
    scratch.fields.AuthorInto(scratch.author);
    return CatalogueSurnamePart(scratch.author);
}

// The record's side of a rejected pair: its 001 and 003, and its title and surname keys. The
// fields and author of the scratch are the record's.
const RecordInHand::PairSide& PairSideOf(RecordInHand& in) {
    if (in.side) return *in.side;
    RecordInHand::PairSide& side = in.side.emplace();
    CatalogueRecord split;
    SplitMarcRecord(in.bytes, split);
    side.controlNumber = split.FirstFieldOf("001");
    side.pair.controlNumber = CatalogueTextAsUtf8(side.controlNumber, in.Encoding());
    side.pair.controlSource = CatalogueTextAsUtf8(split.FirstFieldOf("003"), in.Encoding());
    CatalogueRecord texts;
    in.scratch.fields.TextInto(texts, BookText::Title);
    AppendRecordKey(in, texts.title, side.pair.titleKey);
    AppendRecordKey(in, SurnamePartOf(in.scratch), side.pair.surnameKey);
    return side;
}

// Whether the entry a test found is one the librarian took back from this record at an earlier
// run; the test then passes it over and goes on. The record's side of the pair is read the first
// time it is needed, which is seldom: only when the entry has a rejected pair at all.
bool IsRejected(RecordInHand& in, const ComparisonRun& run, std::string_view idText,
                MatchKind kind) {
    if (run.rejected.empty() || !run.rejected.HasEntry(idText)) return false;
    const RejectedPair& pair = PairSideOf(in).pair;
    if (!run.rejected.Rejects(idText, pair.controlNumber, pair.controlSource, pair.titleKey,
                              pair.surnameKey))
        return false;
    auto& rejected = in.decision.rejectedEntries;
    const auto met = std::find_if(rejected.begin(), rejected.end(),
                                  [&](const auto& entry) { return entry.first == idText; });
    if (met == rejected.end()) rejected.emplace_back(idText, kind);
    return true;
}

// The exact, title and series tests, in that order.
bool FindByAuthorAndTitle(RecordInHand& in, CatalogueRecord& record, ComparisonRun& run) {
    MatchScratch& scratch = in.scratch;
    RecordDecision& found = in.decision;
    // The surname is looked at before the rest of the record, since most records of a catalogue
    // fail here.
    std::string& surname = scratch.surname;
    surname.clear();
    AppendRecordKey(in, SurnamePartOf(scratch), surname);
    const std::uint64_t surnameHash = KeyHash(surname);
    if (!MayMatchBySurname(run, surname, surnameHash)) return false;
    // The surname's entries are looked up once the title is in hand.
    run.authorBooks.Prefetch(surnameHash);

    // Most records of a booklist author are other books: their texts are read straight from the
    // bytes as they are needed, and only a record that matches is split for rewriting.
    scratch.fields.TextInto(record, BookText::Title);
    if (record.title.empty()) return false;

    // The title key is made right after the surname: the two make up the author-plus-title key.
    std::string& joined = scratch.authorTitle;
    joined.assign(surname);
    AppendRecordKey(in, record.title, joined);
    const std::string_view titleKey = std::string_view(joined).substr(surname.size());
    if (titleKey.empty()) return false;

    const std::uint64_t keyHash = KeyHash(joined);
    if (MayBeKnown(run, keyHash)) found.idText = run.authorTitles.Find(surname, titleKey, keyHash);
    if (!found.idText.empty() && !IsRejected(in, run, found.idText, MatchKind::AuthorAndTitle))
        return true;
    found.idText = {};
    const std::span<const AuthorBook> books = run.authorBooks.Find(surname, surnameHash);
    if (books.empty()) return false;
    const AuthorBook* book =
        FindByTitle(books, titleKey, found.levelBand, [&](const AuthorBook& candidate) {
            return IsRejected(
                in, run, candidate.idText,
                candidate.titleKey == titleKey ? MatchKind::SameTitle : MatchKind::TitleInside);
        });
    if (book) {
        found.kind = book->titleKey == titleKey ? MatchKind::SameTitle : MatchKind::TitleInside;
    } else {
        scratch.fields.TextInto(record, BookText::Series);
        std::string seriesKey;
        if (!record.series.empty()) AppendRecordKey(in, record.series, seriesKey);
        book = FindBySeries(run.booklist->Indexes(), books, seriesKey, surname, found.levelBand);
        if (book && IsRejected(in, run, book->idText, MatchKind::Series)) book = nullptr;
        found.kind = MatchKind::Series;
    }
    if (!book) return false;
    found.idText = book->idText;
    return true;
}

// The first of the record's 020 ISBNs that an entry has.
bool FindByIsbn(RecordInHand& in, const ComparisonRun& run) {
    in.scratch.fields.IsbnsInto(in.scratch.isbns);
    for (const std::uint64_t isbn : in.scratch.isbns) {
        // Most records carry ISBNs the booklist does not have: a filter tells without a lookup.
        if (!FilterMayHold(run.isbnFilter, IsbnHash(isbn))) continue;
        const auto entry = run.isbnEntries.find(isbn);
        if (entry == run.isbnEntries.end() || IsRejected(in, run, entry->second, MatchKind::Isbn))
            continue;
        in.decision.idText = entry->second;
        in.decision.kind = MatchKind::Isbn;
        in.decision.levelBand = -1;
        return true;
    }
    return false;
}

// Decides the record whose fields the scratch has indexed.
void Decide(RecordInHand& in, CatalogueRecord& texts, ComparisonRun& run) {
    texts.title.clear();
    in.decision = {};
    in.decision.matched = FindByAuthorAndTitle(in, texts, run) ||
                          (run.matchByIsbn && !run.isbnEntries.empty() && FindByIsbn(in, run));
}

// The review lists the pairs rejected earlier that the record made again, matched or not: the
// librarian sees that the record was passed over for them.
void ListRejectedEntries(RecordInHand& in, ComparisonRun& run) {
    CatalogueRecord texts;
    in.scratch.fields.TextsInto(texts);
    const std::string& controlNumber = PairSideOf(in).controlNumber;
    for (const auto& [idText, kind] : in.decision.rejectedEntries) {
        const std::string_view entry = run.booklist->LookupLine(idText);
        if (entry.empty()) continue;
        const PackedFields fields = SplitPackedLine(entry, FieldAuthor + 1);
        run.review.Add(fields[FieldId], fields[FieldTitle], fields[FieldAuthor], kind,
                       controlNumber, texts.title, in.scratch.author, texts.callNumber,
                       in.Encoding(), {}, true);
    }
}

// Marks, writes and reviews what was decided for the record whose fields and author the run's
// scratch holds; `record` holds its title when the tests read it.
bool Apply(RecordInHand& in, CatalogueRecord& record, ComparisonRun& run) {
    const RecordDecision& found = in.decision;
    if (!found.matched && (found.rejectedEntries.empty() || !run.reviewed)) return false;
    // Deciding may have read no more of the author than its surname.
    in.scratch.fields.AuthorInto(in.scratch.author);
    if (!found.rejectedEntries.empty() && run.reviewed) ListRejectedEntries(in, run);
    if (!found.matched) return false;
    BookFieldIndex& fields = run.scratch.fields;
    // A record found by its ISBN before its title was read.
    if (record.title.empty()) fields.TextInto(record, BookText::Title);

    // The call number goes into the booklist in its encoding; the review shows the record's
    // texts as they read.
    fields.TextInto(record, BookText::CallNumber);
    const std::string_view entry = run.booklist->MarkMatchedEntry(
        found.idText, CatalogueTextForBooklist(record.callNumber, in.Encoding()));
    int levelBand = found.levelBand;
    if (levelBand < 0) levelBand = LevelBandOf(SplitPackedLine(entry, FieldLevel + 1)[FieldLevel]);
    ++run.matches;
    // Earlier tags are taken out of every record written, but the title has been extracted
    // already, so only the records written can show it.
    SplitMarcRecord(in.bytes, record);
    run.controlNumber.assign(record.FirstFieldOf("001"));
    const WrittenRecord written = WriteMatchedRecord(record, levelBand, run);
    // The texts the match extracted are those of the record as read; tagging changes neither the
    // control number nor the leader's coding.
    if (!run.reviewed) return true;
    const PackedFields entryFields = SplitPackedLine(entry, FieldAuthor + 1);
    run.review.Add(entryFields[FieldId], entryFields[FieldTitle], entryFields[FieldAuthor],
                   found.kind, run.controlNumber, record.title, run.scratch.author,
                   record.callNumber, in.Encoding(), written);
    return true;
}

}  // namespace

void FillKnownPrefixes(ComparisonRun& run) {
    run.knownPrefixes.assign(KnownPrefixWords, 0);
    run.authorTitles.ForEachKey([&](std::string_view key, std::uint64_t) {
        ForEachBeginningHash(key, [&](std::size_t, std::uint64_t hash) {
            FilterAdd(run.knownPrefixes, hash);
            return false;
        });
    });
}

bool MatchCatalogueRecord(std::string_view bytes, CatalogueRecord& record, ComparisonRun& run) {
    run.scratch.fields.Index(bytes);
    thread_local RecordDecision decision;
    RecordInHand in(bytes, run.scratch, decision);
    Decide(in, record, run);
    return Apply(in, record, run);
}

void DecideRecord(std::string_view bytes, ComparisonRun& run, MatchScratch& scratch,
                  CatalogueRecord& texts, RecordDecision& decision) {
    scratch.fields.Index(bytes);
    RecordInHand in(bytes, scratch, decision);
    Decide(in, texts, run);
}

void ApplyDecision(std::string_view bytes, RecordDecision& decision, CatalogueRecord& record,
                   ComparisonRun& run) {
    // The record was decided on another thread: its fields are indexed again here.
    run.scratch.fields.Index(bytes);
    record.title.clear();
    RecordInHand in(bytes, run.scratch, decision);
    Apply(in, record, run);
}

namespace {

// An entry's title key and level band as the booklist now holds them. They are those it was
// indexed with unless its id was given again by a later line, which replaced it. A key the lines
// do not hold is made into `madeKeys`, where it stays in place.
void EntryAsStored(const Booklist& booklist, const IndexedEntry& entry, bool anyGivenAgain,
                   std::deque<std::string>& madeKeys, std::string_view& titleKey, int& levelBand) {
    std::string_view level = entry.level;
    titleKey = entry.titleKey;
    if (anyGivenAgain) {
        // Only two fields are wanted: unpacking the whole entry would copy all eighteen.
        const PackedFields fields =
            SplitPackedLine(booklist.LookupLine(entry.idText), FieldTitleKey + 1);
        titleKey = booklist.LinesHoldKeys()
                       ? fields[FieldTitleKey]
                       : std::string_view(madeKeys.emplace_back(NormaliseKey(fields[FieldTitle])));
        level = fields[FieldLevel];
    }
    levelBand = LevelBandOf(level);
}

// Room made for an author-plus-title key and its id: most are shorter.
constexpr std::size_t ExpectedKeyAndIdSize = 48;

void AddSurnameKey(ComparisonRun& run, std::string_view surnameKey, std::uint64_t hash) {
    FilterAdd(run.surnameKeys, hash);
    ForEachBeginningHash(surnameKey, [&](std::size_t, std::uint64_t beginning) {
        FilterAdd(run.surnamePrefixes, beginning);
        return false;
    });
}

}  // namespace

void PrepareComparisonRun(ComparisonRun& run, Booklist& booklist) {
    run.booklist = &booklist;
    run.authorBooks.Clear();
    run.authorTitles.Clear();
    run.knownKeys.assign(KnownKeyWords, 0);
    run.knownPrefixes.clear();
    run.surnameKeys.assign(SurnameWords, 0);
    run.surnamePrefixes.assign(SurnamePrefixWords, 0);
    run.isbnEntries.clear();
    run.isbnFilter.assign(IsbnFilterWords, 0);
    // The tables follow the indexes' rules: every line's author-plus-title key stays, the last
    // line of a key giving its id; a surname lists each id once, where it first came, with the
    // entry as the booklist holds it.
    const BooklistIndexes& indexes = booklist.Indexes();
    const bool anyGivenAgain = indexes.AnyIdGivenAgain();
    const std::size_t entries = indexes.EntryCount();
    std::string joined;
    std::deque<std::string> madeKeys;  // until the author table has taken its texts
    run.authorBooks.Reserve(entries);
    run.authorTitles.Reserve(entries, entries * ExpectedKeyAndIdSize);
    indexes.ForEachEntry([&](const IndexedEntry& entry) {
        const std::uint64_t surnameHash = KeyHash(entry.surnameKey);
        joined.assign(entry.surnameKey).append(entry.titleKey);
        const std::uint64_t keyHash = KeyHash(joined);
        AddKnown(run, keyHash);
        run.authorTitles.Enter(entry.surnameKey, entry.titleKey, keyHash, entry.idText);
        AddSurnameKey(run, entry.surnameKey, surnameHash);
        std::string_view titleKey;
        int levelBand = 0;
        EntryAsStored(booklist, entry, anyGivenAgain, madeKeys, titleKey, levelBand);
        run.authorBooks.Add(entry.surnameKey, surnameHash, entry.idText, titleKey, levelBand,
                            entry.idLoadedBefore);
        for (std::size_t at = 0; at < entry.isbns.size();) {
            const std::size_t end = entry.isbns.find(';', at);
            const std::uint64_t isbn = Isbn13Number(entry.isbns.substr(at, end - at));
            run.isbnEntries.try_emplace(isbn, entry.idText);
            FilterAdd(run.isbnFilter, IsbnHash(isbn));
            at = end + 1;
        }
    });
    run.authorBooks.Finish();
}

int ProgressShiftFor(std::int64_t size) {
    int shift = 0;
    while ((size >> shift) > 0x7FFFFFFF)
        ++shift;
    return shift;
}
