// The flat tables a comparison builds for itself must answer as the matching indexes do, however
// the hashes they are given collide.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "booklist/book_record.h"
#include "booklist/matching_indexes.h"
#include "compare/author_books.h"
#include "compare/author_titles.h"
#include "compare/key_hash.h"

namespace {
// Few distinct values, so that many keys share a hash and most share a first slot.
std::uint64_t CrowdedHash(std::string_view text) {
    return std::hash<std::string_view>{}(text) >> 53;
}
}  // namespace

TEST(ComparisonRunTables, AnswerAsTheIndexesDo) {
    // Surnames that run into one another's titles, an empty one, titles that are empty.
    const std::vector<std::string> surnames = {"", "SMIT", "SMITH", "SMITHS", "JONES", "O BRIEN"};
    const std::vector<std::string> titles = {"", "HCAT", "CAT", "SCAT", "DOG", "THE END"};
    std::mt19937 random(11);
    BooklistIndexes indexes;
    AuthorTitleTable authorTitles;
    std::map<std::int64_t, std::string> titleOfId;  // each id's title as last given
    std::vector<BookRecord> given;
    for (int i = 0; i < 3000; ++i) {
        BookRecord r;
        r.id = 1 + random() % 1200;  // most ids come again
        r.surnameKey = surnames[random() % surnames.size()] + std::to_string(random() % 400);
        r.titleKey = titles[random() % titles.size()] + std::to_string(random() % 4);
        const bool again = titleOfId.contains(r.id);
        indexes.Add(r, again);
        titleOfId[r.id] = r.titleKey;
        const std::string idText = std::to_string(r.id);
        authorTitles.Enter(r.surnameKey, r.titleKey, CrowdedHash(r.surnameKey + r.titleKey),
                           idText);
        given.push_back(r);
    }

    // One table grows as authors come, one has room made for far more than come.
    AuthorBookTable growing;
    AuthorBookTable roomy;
    roomy.Reserve(8 * given.size());
    std::vector<std::string> idTexts;
    idTexts.reserve(given.size());  // the texts stay in place until Finish
    for (const BookRecord& r : given) {
        idTexts.push_back(std::to_string(r.id));
        for (AuthorBookTable* table : {&growing, &roomy})
            table->Add(r.surnameKey, CrowdedHash(r.surnameKey), idTexts.back(), titleOfId[r.id], 4,
                       true);
    }
    growing.Finish();
    roomy.Finish();

    for (const BookRecord& r : given) {
        for (const AuthorBookTable* table : {&growing, &roomy}) {
            std::vector<std::int64_t> listed;
            for (const AuthorBook& book : table->Find(r.surnameKey, CrowdedHash(r.surnameKey))) {
                listed.push_back(std::stoll(std::string(book.idText)));
                EXPECT_EQ(book.titleKey, titleOfId[listed.back()]);
            }
            EXPECT_EQ(listed, indexes.FindAuthorIds(r.surnameKey)) << r.surnameKey;
        }
        // Every split of a joined key finds what the joined key stands for.
        const std::string joined = r.surnameKey + r.titleKey;
        for (std::size_t cut = 0; cut <= joined.size(); cut += 3) {
            const std::string surname = joined.substr(0, cut);
            const std::string title = joined.substr(cut);
            EXPECT_EQ(authorTitles.Find(surname, title, CrowdedHash(joined)),
                      indexes.FindAuthorTitle(surname, title))
                << surname << "|" << title;
        }
    }
    EXPECT_TRUE(growing.Find("NOBODY", CrowdedHash("NOBODY")).empty());
    EXPECT_EQ(authorTitles.Find("NOBODY", "", CrowdedHash("NOBODY")), "");
    std::size_t keys = 0;
    authorTitles.ForEachKey([&](std::string_view key, std::uint64_t hash) {
        ++keys;
        EXPECT_EQ(hash, CrowdedHash(key));
        EXPECT_NE(indexes.FindAuthorTitle(key, ""), "");
    });
    EXPECT_EQ(keys, indexes.Tables().AuthorTitleIndex.size());
}

// The filters hold the hashes of the beginnings of keys and are probed with whole keys' hashes:
// both ways must give a text the same hash.
TEST(KeyHash, EveryBeginningHashesAsTheTextItIs) {
    std::mt19937 random(2);
    for (std::size_t size = 0; size <= 40; ++size) {
        std::string text(size, '\0');
        for (char& c : text)
            c = "AB \0"[random() % 4];
        std::size_t next = 0;
        ForEachBeginningHash(text, [&](std::size_t length, std::uint64_t hash) {
            EXPECT_EQ(length, next++);
            EXPECT_EQ(hash, KeyHash(text.substr(0, length))) << size << " " << length;
            return false;
        });
        EXPECT_EQ(next, size + 1);
        // A visit that says stop ends the walk.
        std::size_t visits = 0;
        EXPECT_EQ(ForEachBeginningHash(text,
                                       [&](std::size_t length, std::uint64_t) {
                                           ++visits;
                                           return length == size / 2;
                                       }),
                  true);
        EXPECT_EQ(visits, size / 2 + 1);
    }
    EXPECT_NE(KeyHash("AB"), KeyHash(std::string("AB\0", 3)));
}
