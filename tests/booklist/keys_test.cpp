// Matching keys and the indexes the loader fills with them.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "booklist/book_record.h"
#include "booklist/keys.h"
#include "booklist/matching_indexes.h"
#include "compare/matching.h"

TEST(NormaliseKey, WorkedExamples) {
    EXPECT_EQ(NormaliseKey("The Lion, the Witch & the Wardrobe"),
              "LION THE WITCH AND THE WARDROBE");
    EXPECT_EQ(NormaliseKey("A Wrinkle in Time"), "WRINKLE IN TIME");
    EXPECT_EQ(NormaliseKey("Anne of Green Gables"), "ANNE OF GREEN GABLES");
    EXPECT_EQ(NormaliseKey("(The Hobbit)"), "THE HOBBIT");
    EXPECT_EQ(NormaliseKey("A-Z of Animals"), "Z OF ANIMALS");
    EXPECT_EQ(NormaliseKey("Charlotte's Web"), "CHARLOTTES WEB");
    EXPECT_EQ(NormaliseKey("Smith-Jones"), "SMITH JONES");
    EXPECT_EQ(NormaliseKey("Catch 22"), "CATCH 22");
    // Accented letters count as their base letters; two-letter letters as two.
    EXPECT_EQ(NormaliseKey("Th\xE9\xE2tre"), "THEATRE");
    EXPECT_EQ(NormaliseKey("Stra\xDF\x65 \xC6sop \x8C\x75vre \xD8ster"),
              "STRASSE AESOP OEUVRE OSTER");
    EXPECT_EQ(NormaliseKey("O\x92"
                           "Brien"),
              "OBRIEN");
}

TEST(NormaliseKey, EmptyAndArticleOnlyTexts) {
    EXPECT_EQ(NormaliseKey(""), "");
    EXPECT_EQ(NormaliseKey("!?.,;"), "");
    EXPECT_EQ(NormaliseKey("\xAB\xBB\xA7"), "");
    EXPECT_EQ(NormaliseKey("The"), "THE");
    EXPECT_EQ(NormaliseKey("The."), "");
    EXPECT_EQ(NormaliseKey("A."), "");
    EXPECT_EQ(NormaliseKey("an apple"), "APPLE");
    EXPECT_EQ(NormaliseKey("Then"), "THEN");
    EXPECT_EQ(NormaliseKey("The The End"), "THE END");  // only one article goes
}

TEST(NormaliseKey, ApostrophesAndAsterisksCloseTheGap) {
    EXPECT_EQ(NormaliseKey("*The Hobbit"), "HOBBIT");  // a title tagged with "*" keys as untagged
    EXPECT_EQ(NormaliseKey("O'Brien"), "OBRIEN");
    EXPECT_EQ(NormaliseKey("  lots\t of   space  "), "LOTS OF SPACE");
}

namespace {
// The key as its rules state it, one step after another.
std::string KeyByTheRules(std::string_view text) {
    std::string mapped;
    for (const char c : text) {
        if (c == '\'' || c == '*') continue;
        if (c == '\xE9' || c == '&') {
            mapped += c == '&' ? " AND " : "E";
            continue;
        }
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool digit = c >= '0' && c <= '9';
        mapped += letter ? static_cast<char>(c & ~0x20) : digit ? c : ' ';
    }
    for (const std::string article : {"A ", "AN ", "THE "}) {
        if (mapped.starts_with(article)) {
            mapped.erase(0, article.size());
            break;
        }
    }
    std::string key;
    for (const char c : mapped) {
        if (c == ' ' && (key.empty() || key.back() == ' ')) continue;
        key += c;
    }
    if (!key.empty() && key.back() == ' ') key.pop_back();
    return key;
}
}  // namespace

TEST(NormaliseKey, FollowsItsRulesOverRandomTexts) {
    // Few distinct bytes, so that articles, runs of spaces and removed bytes meet often.
    // The second, without bytes left out, "&" or high bytes, gives the long runs read sixteen at
    // once.
    for (const std::string alphabet : {"aAnNtThHeE '*.-\xE9x1&", "aAnNtThHeEzZ09  -."}) {
        std::mt19937 random(3);
        for (int i = 0; i < 20000; ++i) {
            std::string text(random() % 40, ' ');
            for (char& c : text)
                c = alphabet[random() % alphabet.size()];
            std::string appended = "KEPT";
            AppendNormalisedKey(text, appended);
            ASSERT_EQ(appended, "KEPT" + KeyByTheRules(text)) << text;
        }
    }
}

TEST(KeyPairBits, APieceOfAKeyHasNoPairTheKeyLacks) {
    std::mt19937 random(9);
    for (int i = 0; i < 5000; ++i) {
        std::string key(1 + random() % 30, ' ');
        for (char& c : key)
            c = "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789"[random() % 37];
        const std::size_t from = random() % key.size();
        const std::string piece = key.substr(from, random() % (key.size() - from + 1));
        EXPECT_EQ(KeyPairBits(piece) & ~KeyPairBits(key), 0u) << piece << " in " << key;
    }
}

TEST(SurnameKey, TakesTheAuthorUpToTheFirstComma) {
    EXPECT_EQ(NormaliseKey(SurnamePart("Lonely Planet")), "LONELY PLANET");
    EXPECT_EQ(NormaliseKey(SurnamePart("Smith, John")), "SMITH");
    EXPECT_EQ(NormaliseKey(SurnamePart("O'Brien, Pat")), "OBRIEN");
}

TEST(KeyHoldsWords, OnlyWholeWordsCount) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"ANSI COMMON LISP", "ON LISP", false},
        {"HOLES A NOVEL", "HOLES", true},
        {"THE END", "THE END", true},
        {"BIG CAT", "CAT", true},
        {"CATS AND CAT", "CAT", true},
        {"SCAT", "CAT", false},
        {"CAT", "CATS", false},
    };
    for (const auto& [key, words, held] : cases)
        EXPECT_EQ(KeyHoldsWords(key, words), held) << key << " / " << words;
}

TEST(CompareTitleKeys, OrdersByKey) {
    EXPECT_EQ(CompareTitleKeys("The Cat", "cat"), 0);
    EXPECT_EQ(CompareTitleKeys("Apple", "An Apple Tree"), -1);
    EXPECT_EQ(CompareTitleKeys("Zebra", "The Apple"), 1);
}

namespace {
BookRecord Entry(int id, const std::string& surname, const std::string& title,
                 const std::string& series = "", const std::string& level = "") {
    BookRecord r;
    r.id = id;
    r.surnameKey = surname;
    r.titleKey = title;
    r.seriesKey = series;
    r.level = level;
    return r;
}
}  // namespace

TEST(MatchingIndexes, LaterEntriesWinExceptInTheAuthorList) {
    BooklistIndexes indexes;
    indexes.Add(Entry(1, "SMITH", "CAT", "PETS", "Mature"), false);
    indexes.Add(Entry(2, "SMITH", "CAT", "PETS", "Primary Years (3-5)"), false);
    indexes.Add(Entry(3, "JONES", "DOG", "PETS"), false);
    indexes.Add(Entry(1, "SMITH", "CAT"), true);  // the same id again
    EXPECT_EQ(indexes.FindAuthorIds("SMITH"), (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(indexes.FindAuthorTitle("SMITH", "CAT"), "1");
    EXPECT_EQ(indexes.FindSeriesLevel("PETS"), "");
    EXPECT_EQ(indexes.FindSeriesAuthor("PETS"), "JONES");  // level and author always from one entry
    EXPECT_EQ(indexes.FindAuthorTitle("SMIT", "HCAT"), "1");  // keys are joined without a separator
    EXPECT_EQ(indexes.FindAuthorTitle("NOBODY", ""), "");
    EXPECT_TRUE(indexes.FindAuthorIds("NOBODY").empty());
    EXPECT_EQ(indexes.Tables().AuthorIndex.count("NOBODY"), 0u);  // a lookup never adds its key
    indexes.Add(Entry(4, "SMITH", "DOG"), false);  // entries after a lookup count too
    EXPECT_EQ(indexes.FindAuthorIds("SMITH"), (std::vector<std::int64_t>{1, 2, 4}));
    EXPECT_EQ(indexes.FindAuthorTitle("SMITH", "DOG"), "4");
    EXPECT_TRUE(BooklistIndexes().FindAuthorIds("SMITH").empty());
}

TEST(MatchingIndexes, EmptySeriesKeysAreNotEntered) {
    BooklistIndexes indexes;
    indexes.Add(Entry(1, "SMITH", "CAT", "", "Mature"), false);
    EXPECT_TRUE(indexes.Tables().SeriesLevelIndex.empty());
    EXPECT_TRUE(indexes.Tables().SeriesAuthorIndex.empty());
}

TEST(CatalogueSurname, TheKeyOfTheTextBeforeTheFirstCommaElseBeforeTheFirstSpace) {
    const std::pair<std::string, std::string> cases[] = {
        {"Smith, John,", "SMITH"},
        {"Lonely Planet", "LONELY"},
        {"van Dyke, Ann", "VAN DYKE"},
        {"O'Brien, Pat~Lee, Ann", "OBRIEN"},
        {"Plato", "PLATO"},
        {"", ""},
        {" Lee", ""},
        {"Ann  Lee~X, Y", "ANN LEE X"},
        {"Gontaut-Biron, Anne.", "GONTAUT BIRON"},
        {"\xC3\x89mile, Z", "EMILE"},
        {"Bronte\xCC\x88, Charlotte.", "BRONTE"},
        {"Garc\xC3\xAD"
         "a M\xC3\xA1rquez, Gabriel",
         "GARCIA MARQUEZ"},
        {",Comma first", ""},
    };
    std::string surname = "left over";
    for (const auto& [author, expected] : cases) {
        CatalogueSurnameInto(author, surname);
        EXPECT_EQ(surname, expected) << author;
    }
}
