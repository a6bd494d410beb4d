#include <gtest/gtest.h>

#include "booklist/booklist.h"
#include "booklist/matching_indexes.h"
#include "support/test_folder.h"
#include "support/test_services.h"

namespace {

const char* const Header = "ID\tTitle\tAuthor\tAustralian\tPublisher\tYear\tISBN\r\n";

std::string Line(const std::string& id, const std::string& title, const std::string& author = "",
                 const std::string& rest = "") {
    return id + "\t" + title + "\t" + author + (rest.empty() ? "" : "\t" + rest) + "\r\n";
}

class BooklistLoad : public ::testing::Test {
  protected:
    void Load(const std::string& booklist) {
        WriteFile("Booklist.tul", booklist);
        booklist_ = LoadBooklist(CurrentDataFolder(), services_);
    }
    TestFolder folder_;
    TestServices services_;
    Booklist booklist_;
};

}  // namespace

TEST_F(BooklistLoad, HeaderOnlyGivesEmptyTablesAndTheFiveLevelNames) {
    Load(Header);
    EXPECT_TRUE(booklist_.Table().empty());
    EXPECT_TRUE(booklist_.Categories().empty());
    EXPECT_TRUE(booklist_.Formats().empty());
    EXPECT_EQ(booklist_.Levels().count, 4);
    EXPECT_EQ(booklist_.Levels().names[0], "All levels");
    EXPECT_EQ(booklist_.Levels().names[3], "Middle Years (6-9, Special)");
    EXPECT_EQ(booklist_.Levels().names[4], "Mature");
}

TEST_F(BooklistLoad, ReadsIdsLeniently) {
    Load(Line(" 042", "Spaced") + Line("abc", "Letters") + Line("-5", "Negative") +
         Line("0", "Zero") + Line("7", "") + Line("2147483648", "Past 32 bits") +
         Line("4294967338", "Wraps to 42 in 32 bits") + Line("9223372036854775808", "Too large"));
    EXPECT_EQ(booklist_.Table().size(), 4u);
    EXPECT_EQ(booklist_.LookupRecord("2147483648").title, "Past 32 bits");
    EXPECT_EQ(booklist_.LookupRecord("4294967338").id, 4294967338LL);
    EXPECT_EQ(booklist_.LookupRecord("42").title, "Spaced");
    EXPECT_EQ(booklist_.LookupRecord("-5").title, "Negative");
    EXPECT_EQ(booklist_.LookupLine("042"), "");
    EXPECT_EQ(booklist_.LookupLine("7"), "");  // no title: not an entry
}

TEST_F(BooklistLoad, AppliesTheColumnRules) {
    Load(Line("1", " Padded title ", ". Smith, Jo",
              "N\tPub\t1999\t0 14 03 1234 x\tNote\tArt\tMature\t  Series One  \t  Audio  \t55") +
         Line("2", "T2", ".Smith, Jo") + Line("3", "T3", "A", "\t\t\t\t\t\t\t\t   "));
    const BookRecord one = booklist_.LookupRecord("1");
    EXPECT_EQ(one.title, " Padded title ");
    EXPECT_EQ(one.author, "Smith, Jo");
    EXPECT_EQ(one.isbn, "014031234X");
    EXPECT_EQ(one.series, "Series One");
    EXPECT_EQ(one.format, "Audio");
    EXPECT_EQ(one.scisNumber, "55");
    EXPECT_EQ(one.seriesKey, "SERIES ONE");
    EXPECT_EQ(one.surnameKey, "SMITH");
    EXPECT_EQ(one.matched, 0);
    EXPECT_EQ(booklist_.LookupRecord("2").author, "mith, Jo");  // the character after "." goes too
    EXPECT_EQ(booklist_.LookupRecord("3").format, "Book");      // only spaces: Book
}

TEST_F(BooklistLoad, ShortLinesLoadWithEmptyFields) {
    Load("9\tOnly a title");
    const BookRecord r = booklist_.LookupRecord("9");
    EXPECT_EQ(r.title, "Only a title");
    EXPECT_EQ(r.author, "");
    EXPECT_EQ(r.format, "Book");
    EXPECT_EQ(r.levelBand, 4);
}

TEST_F(BooklistLoad, LaterLineWithTheSameIdReplacesTheEarlier) {
    Load(Line("5", "First", "Smith, A", "\t\t\t\t\tArt") +
         Line("5", "Second", "Smith, A", "\t\t\t\t\tSport"));
    EXPECT_EQ(booklist_.Table().size(), 1u);
    EXPECT_EQ(booklist_.LookupRecord("5").title, "Second");
    EXPECT_EQ(booklist_.Categories(), (std::vector<std::string>{"Art", "Sport"}));
    EXPECT_EQ(booklist_.Indexes().FindAuthorIds("SMITH"), (std::vector<std::int64_t>{5}));
}

TEST_F(BooklistLoad, CollectsDistinctCategoriesSortedByByteValue) {
    Load(Line("1", "A", "", "\t\t\t\t\tAdventure;Fantasy ; ;Adventure") +
         Line("2", "B", "", "\t\t\t\t\tadventure") + Line("3", "C", "", "\t\t\t\t\tadventure") +
         Line("4", "D", "", "\t\t\t\t\tZoo;\xC9t\xE9"));
    EXPECT_EQ(booklist_.Categories(),
              (std::vector<std::string>{"Adventure", "Fantasy", "Zoo", "adventure", "\xC9t\xE9"}));
}

TEST_F(BooklistLoad, CollectsFormatsInFirstSeenOrderWithShortOnesAsBook) {
    Load(Line("1", "A", "", "\t\t\t\t\t\t\t\tEbook") + Line("2", "B", "", "\t\t\t\t\t\t\t\tX") +
         Line("3", "C", "", "\t\t\t\t\t\t\t\tAudio book;Ebook") + Line("4", "D"));
    EXPECT_EQ(booklist_.Formats(), (std::vector<std::string>{"Ebook", "Book", "Audio book"}));
    EXPECT_EQ(booklist_.LookupRecord("2").format, "X");
}

TEST_F(BooklistLoad, ShowsProgressPausesAndSetsTheTitle) {
    WriteFile("TULVersion.txt", "2026.1\r\nignored\r\n");
    const std::string booklist = Header + Line("1", "A");
    Load(booklist);
    const auto& progress = services_.Progress();
    EXPECT_EQ(progress.opened, 1);
    EXPECT_FALSE(progress.open);
    EXPECT_EQ(progress.title, "Booklist");
    EXPECT_EQ(progress.caption, "Reading data...");
    EXPECT_EQ(progress.maximum, static_cast<std::int64_t>(booklist.size()));
    EXPECT_EQ(progress.position, static_cast<std::int64_t>(booklist.size()));
    EXPECT_FALSE(progress.withCancel);
    EXPECT_EQ(booklist_.Version(), "2026.1");
    EXPECT_EQ(services_.MainWindowTitle(), "TUL Tallyleaf  2026.1");
}

TEST_F(BooklistLoad, MissingVersionFileGivesTheDefaultVersion) {
    Load(Line("1", "A"));
    EXPECT_EQ(booklist_.Version(), "2015.0");
    WriteFile("TULVersion.txt", "");
    booklist_ = LoadBooklist(CurrentDataFolder(), services_);
    EXPECT_EQ(booklist_.Version(), "");
}

TEST_F(BooklistLoad, MissingBooklistIsNotReadAndLoadsEmpty) {
    // A folder of that name opens for reading on Linux but is no booklist either.
    WriteFile("TULVersion.txt", "2026.2\r\n");
    for (const bool folder : {false, true}) {
        if (folder) std::filesystem::create_directory("Booklist.tul");
        EXPECT_FALSE(ReadBooklist(CurrentDataFolder(), services_));
        booklist_ = LoadBooklist(CurrentDataFolder(), services_);
        EXPECT_TRUE(booklist_.empty());
        EXPECT_TRUE(booklist_.Categories().empty());
        EXPECT_EQ(booklist_.Version(), "2026.2");
        EXPECT_EQ(services_.Progress().opened, 0);
        EXPECT_EQ(services_.MainWindowTitle(), "");
    }
}

TEST_F(BooklistLoad, AtStartUpWithoutABooklistTheLevelSelectorHasOneEmptyEntry) {
    booklist_ = LoadBooklist(CurrentDataFolder(), services_);
    EXPECT_EQ(booklist_.Levels().count, 0);
    EXPECT_EQ(booklist_.Levels().names[0], "");
}

TEST_F(BooklistLoad, MergesTheMatchesFile) {
    WriteFile("Matches.tul", "1,F SMI\r\n");
    Load(Line("1", "A") + Line("2", "B"));
    EXPECT_EQ(booklist_.LookupRecord("1").matched, 1);
    EXPECT_EQ(booklist_.LookupRecord("1").callNumber, "F SMI");
    EXPECT_EQ(booklist_.LookupRecord("2").matched, 0);
}

TEST_F(BooklistLoad, KeepsAtMost99999CategoryNamesTheFirstOnes) {
    std::string booklist;
    for (int i = 0; i < 100005; ++i) {
        booklist += Line(std::to_string(i + 1), "T", "", "\t\t\t\t\tC" + std::to_string(i));
    }
    Load(booklist);
    EXPECT_EQ(booklist_.Categories().size(), MaxCategoryNames);
    const auto& names = booklist_.Categories();
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), "C99998"));
    EXPECT_FALSE(std::binary_search(names.begin(), names.end(), "C99999"));
}

// A command loads only the parts it reads; what it does load is what the whole load gives.
TEST_F(BooklistLoad, APartialLoadGivesTheSameEntriesAsTheWholeLoad) {
    Load(Line("1", "The Hobbit", ". Tolkien, J", "N\tPub\t1937\t0 14 03 1234 x\t\tArt\tMature") +
         Line("2", "Holes", "Sachar, Louis", "\t\t\t\tA note\tSport\t\t  Series One  ") +
         Line("1", "The Hobbit Again", "Tolkien, J"));
    const auto indexed = [](const Booklist& booklist) {
        std::string texts;
        booklist.Indexes().ForEachEntry([&](const IndexedEntry& e) {
            for (const auto text : {e.idText, e.titleKey, e.surnameKey, e.seriesKey, e.isbns})
                texts.append(text) += '|';
            texts += e.idLoadedBefore ? "again\n" : "\n";
        });
        return texts;
    };
    BooklistLoadOptions withoutAnnotations = LoadEntriesAndMatches;
    withoutAnnotations.annotations = false;
    for (const BooklistLoadOptions& options :
         {LoadEntriesAndMatches, LoadForComparison, withoutAnnotations}) {
        const Booklist part = LoadBooklist(CurrentDataFolder(), services_, options);
        ASSERT_EQ(part.size(), booklist_.size());
        for (const auto& [idText, line] : booklist_.Table()) {
            BookRecord whole = booklist_.LookupRecord(idText);
            if (!options.annotations) whole.annotation.clear();
            EXPECT_EQ(PackBookRecord(part.LookupRecord(idText)), PackBookRecord(whole));
            EXPECT_EQ(SplitPackedLine(part.LookupLine(idText))[FieldTitleKey].empty(),
                      !options.keysInLines);
        }
        EXPECT_EQ(indexed(part), options.matchingIndexes ? indexed(booklist_) : "");
        EXPECT_EQ(part.Categories().empty(), !options.nameLists);
    }
}

TEST_F(BooklistLoad, AnImportStartsFromEmptyIndexes) {
    Load(Line("1", "A", "Oldname, J"));
    EXPECT_FALSE(booklist_.Indexes().FindAuthorIds("OLDNAME").empty());
    Load(Line("2", "B", "Newname, K"));
    EXPECT_TRUE(booklist_.Indexes().FindAuthorIds("OLDNAME").empty());
    EXPECT_EQ(booklist_.Indexes().FindAuthorIds("NEWNAME"), std::vector<std::int64_t>{2});
}

TEST(PackBooklistLine, GivesThePackedLineOfTheParsedRecord) {
    using namespace std::string_literals;
    const std::string lines[] = {
        "1\tT",
        "2\tThe Hobbit\t. Smith, Jo\tY\tPub\t1999\t0 14 03 1234 x\tNote\tArt;Sport\tMature"
        "\t  The Series  \t  Audio  \t55",
        "3\tA Tale\t.\t\t\t\t\t\t\t\t\t\t",
        "4\tAn \"Owl\"\t.X\t\t\t\t isbn \t\t\t\t\t   \t",
        "5\tT\tA\tB\tC\tD\tE\tF\tG\tH\tI\tJ\tK\textra\tcolumns\tignored",
        "  42\tSpaced id\tO'Brien, Pat*\t\t\t\t\t\t\t\t\t\t",
        "+7\tSigned\tSmith",
        "-5\tNegative\tSmith, A, B",
        "007\tZeros\t\t\t\t\t\t\t\t\tPrimary Years (3-5)",
        "9223372036854775807\tLargest",
        "8\tCR\r, LF\n and NUL\0 inside\tAuthor\r\n"s,
        "9\t\xC9t\xE9 'n' ***\t\xC9mile, Z",
        "0\tId zero",
        "99999999999999999999\tPast the range",
        "abc\tNo id",
        "10\t",
        "",
    };
    for (const std::string& line : lines) {
        BookRecord record;
        const bool parsed = ParseBooklistLine(line, record);
        std::string packed;
        EXPECT_EQ(PackBooklistLine(line, packed), parsed) << line;
        if (parsed) {
            EXPECT_EQ(packed, PackBookRecord(record)) << line;
        }
    }
}

// A match result is written over the last two fields of the stored line; the line must come out
// as unpacking it, changing the two and packing it again would give it.
TEST_F(BooklistLoad, MatchResultsChangeOnlyTheLastTwoFieldsAsPackingWould) {
    Load(std::string(Header) + Line("7", "Holes", ".xSachar, Louis", "N\tPub\t1998\t0 440 X") +
         Line("8", "Wonder", "Palacio, R. J.", "Y"));
    for (const std::string& callNumber : {std::string(), std::string("F SMI"), std::string("a\tb"),
                                          std::string("x\r\ny"), std::string("n\0l", 3)}) {
        for (const char* id : {"7", "8"}) {
            BookRecord expected = UnpackBookRecord(booklist_.LookupLine(id));
            expected.matched = 1;
            expected.callNumber = callNumber;
            ASSERT_TRUE(booklist_.MarkMatched(id, callNumber));
            EXPECT_EQ(booklist_.LookupLine(id), PackBookRecord(expected)) << id;
        }
        booklist_.ClearAllMatches();
        for (const char* id : {"7", "8"}) {
            BookRecord expected = UnpackBookRecord(booklist_.LookupLine(id));
            expected.matched = 0;
            expected.callNumber.clear();
            EXPECT_EQ(booklist_.LookupLine(id), PackBookRecord(expected)) << id;
            EXPECT_EQ(SplitPackedLine(booklist_.LookupLine(id))[FieldMatched], "0");
        }
    }
    EXPECT_FALSE(booklist_.MarkMatched("9", "F"));
}
