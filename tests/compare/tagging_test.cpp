#include "compare/tagging.h"

#include <gtest/gtest.h>

#include "compare/marc_reader.h"
#include "compare/marc_text.h"

namespace {

CatalogueRecord Split(std::string_view text) {
    CatalogueRecord record;
    SplitMarcRecord(MarcFromText(text), record);
    return record;
}

std::vector<std::string> Tagged(std::string_view text, int band, TaggingOptions options = {}) {
    std::string bytes;
    EXPECT_EQ(TagMatchedRecord(Split(text), band, options, bytes), RebuildResult::Rebuilt);
    CatalogueRecord tagged;
    SplitMarcRecord(bytes, tagged);
    return FieldTexts(tagged);
}

// With neither tag chosen, only the marks of an earlier run are taken out.
std::vector<std::string> Untagged(std::string_view text) {
    return Tagged(text, 1, {false, false});
}

}  // namespace

TEST(TagRecord, StarRaisesTheNonFilingIndicatorAndRemovalRestoresIt) {
    const auto tagged = Tagged("245 14$aThe hobbit", 2, {true, false});
    EXPECT_EQ(tagged, std::vector<std::string>{"245 15$a*The hobbit"});
    EXPECT_EQ(Untagged("245 15$a*The hobbit"), std::vector<std::string>{"245 14$aThe hobbit"});

    EXPECT_EQ(Tagged("245 1 $aHoles", 1, {true, false}),
              std::vector<std::string>{"245 11$a*Holes"});
    EXPECT_EQ(Untagged("245 11$a*Holes"), std::vector<std::string>{"245 10$aHoles"});
    EXPECT_EQ(Untagged("245 1 $a*Holes"), std::vector<std::string>{"245 10$aHoles"});
    EXPECT_EQ(Untagged("245 1x$a*Holes"), std::vector<std::string>{"245 10$aHoles"});
}

TEST(TagRecord, IndicatorNineStaysNineAndTheStarStillGoesIn) {
    EXPECT_EQ(Tagged("245 09$aThe unwinding", 4, {true, false}),
              std::vector<std::string>{"245 09$a*The unwinding"});
}

TEST(TagRecord, EveryTitleFieldIsStarredEvenOddOnes) {
    EXPECT_EQ(Tagged("245 10$aOne\n245 00$bTwo\n245", 4, {true, false}),
              (std::vector<std::string>{"245 11$a*One", "245 01$b*Two", "245 1*"}));
}

TEST(RemoveEarlierTags, StarsLeaveCallNumbersAndLeadingTitleStarsOnly) {
    EXPECT_EQ(Untagged("082 04$a823*$b*ROW\n084   $a*A\n089   $aB*\n099   $aF* SMI\n092   $aF*"),
              (std::vector<std::string>{"082 04$a823$bROW", "084   $aA", "089   $aB",
                                        "099   $aF SMI", "092   $aF*"}));
    // Only the position counts: a star first in the data of whatever subfield comes first.
    EXPECT_EQ(Untagged("245 10$aStar * in the middle\n245 13$b*Other code\n245 10$a *Spaced"),
              (std::vector<std::string>{"245 10$aStar * in the middle", "245 12$bOther code",
                                        "245 10$a *Spaced"}));
}

TEST(RemoveEarlierTags, EveryFieldIsExaminedWhateverTheTagOrder) {
    EXPECT_EQ(Untagged("082 04$a1*\n490 1 $aSeries\n245 11$a*Late title\n099   $a2*"),
              (std::vector<std::string>{"082 04$a1", "490 1 $aSeries", "245 10$aLate title",
                                        "099   $a2"}));
    // Library of Congress records put their 9xx fields before the title.
    EXPECT_EQ(
        Untagged("001 lc1\n906   $a7$bcbc\n955   $bqa\n245 11$a*Title\n500   $aN\n082 04$a1*"),
        (std::vector<std::string>{"001 lc1", "906   $a7$bcbc", "955   $bqa", "245 10$aTitle",
                                  "500   $aN", "082 04$a1"}));
}

TEST(TagRecord, SeriesFieldGoesBeforeTheFirstTagOf500OrAbove) {
    EXPECT_EQ(Tagged("082 04$a823\n100 1 $aX\n245 10$aT\n300   $a1 v.\n490 1 $aS\n650  0$aDogs", 2,
                     {false, true}),
              (std::vector<std::string>{"082 04$a823", "100 1 $aX", "245 10$aT", "300   $a1 v.",
                                        "490 1 $aS", "490 10$aTUL 3-5", "650  0$aDogs"}));
    EXPECT_EQ(Tagged("100 1 $aX\n245 10$aT\n440  0$aS", 3, {false, true}),
              (std::vector<std::string>{"100 1 $aX", "245 10$aT", "440  0$aS", "440 10$aTUL 6-9"}));
    // A 490 anywhere in the record decides the tag, even after the insertion point.
    EXPECT_EQ(Tagged("245 10$aT\n500   $aN\n490 1 $aS", 1, {false, true}),
              (std::vector<std::string>{"245 10$aT", "490 10$aTUL R-2", "500   $aN", "490 1 $aS"}));
}

TEST(TagRecord, SeriesEntriesOfAnEarlierRunAreReplacedNotStacked) {
    struct Case {
        std::string fields;
        TaggingOptions options;
        std::vector<std::string> tagged;
    };
    const Case cases[] = {
        // Written by an earlier run as a 440 (the record had no 490): the new entry takes its
        // place.
        {"245 10$aT\n440 10$aTUL 3-5\n650  0$aDogs",
         {false, true},
         {"245 10$aT", "440 10$aTUL 6-9", "650  0$aDogs"}},
        // A 490 of the library's own keeps the tag 490; several old entries all go.
        {"245 10$aT\n490 1 $aS\n490 10$aTUL R-2\n500   $aN\n490 10$aTUL Mature",
         {false, true},
         {"245 10$aT", "490 1 $aS", "490 10$aTUL 6-9", "500   $aN"}},
        // Only the exact form this program writes is its own.
        {"245 10$aT\n490 1 $aTUL 3-5\n440 10$aTUL 3-5.\n440 10$aTUL 3-5$v2\n490 10$aTULIP",
         {false, true},
         {"245 10$aT", "490 1 $aTUL 3-5", "440 10$aTUL 3-5.", "440 10$aTUL 3-5$v2", "490 10$aTULIP",
          "490 10$aTUL 6-9"}},
        // With the series option off the record keeps what it had.
        {"245 10$aT\n440 10$aTUL 3-5", {false, false}, {"245 10$aT", "440 10$aTUL 3-5"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Tagged(c.fields, 3, c.options), c.tagged) << c.fields;
    }
}

TEST(TagRecord, TaggingATaggedRecordAgainGivesTheSameRecord) {
    std::string once;
    TagMatchedRecord(Split("100 1 $aX\n245 11$aHoles\n490 1 $aS\n650  0$aDogs"), 2, {}, once);
    CatalogueRecord again;
    SplitMarcRecord(once, again);
    std::string twice;
    TagMatchedRecord(again, 2, {}, twice);
    EXPECT_EQ(twice, once);
}

constexpr std::string_view Leader = "00000nam a2200000 a 4500";

TEST(WriteMarcRecord, LengthsStartsAndBaseAddressAddUp) {
    std::string bytes;
    const std::vector<FieldToWrite> fields = {{"001", "x1"},
                                              {"245",
                                               "10\x1F"
                                               "aHoles"}};
    ASSERT_EQ(WriteMarcRecord("99999cam a2299999 i 4500", fields, bytes), RebuildResult::Rebuilt);
    EXPECT_EQ(bytes, MarcFromText("LDR 00000cam a2200000 i 4500\n001 x1\n245 10$aHoles"));
    EXPECT_EQ(std::stoul(bytes.substr(0, 5)), bytes.size());
}

TEST(WriteMarcRecord, RecordsBeyondTheIsoNumbersAreNotWritten) {
    std::string bytes;
    const std::string fits(9999 - 1, 'x');  // with its terminator, as long as a field can be
    EXPECT_EQ(WriteMarcRecord(Leader, {{{"500", fits}}}, bytes), RebuildResult::Rebuilt);
    const std::string over(9999, 'x');
    EXPECT_EQ(WriteMarcRecord(Leader, {{{"500", over}}}, bytes), RebuildResult::TooLong);
    EXPECT_TRUE(bytes.empty());

    const std::string part(9004, 'y');
    std::vector<FieldToWrite> fields(11, {"500", part});
    EXPECT_EQ(WriteMarcRecord(Leader, fields, bytes), RebuildResult::Rebuilt);
    EXPECT_EQ(bytes.size(), 24u + 11 * 12 + 1 + 11 * 9005 + 1);
    fields.push_back({"500", part});
    EXPECT_EQ(WriteMarcRecord(Leader, fields, bytes), RebuildResult::TooLong);
}

TEST(WriteMarcRecord, DelimitersInTheLeaderOrATagWouldBreakTheFileAndAreRefused) {
    std::string bytes;
    const std::vector<FieldToWrite> title = {{"245",
                                              "10\x1F"
                                              "aT"}};
    std::string leader(Leader);
    leader[6] = '\x1E';
    EXPECT_EQ(WriteMarcRecord(leader, title, bytes), RebuildResult::Malformed);
    leader[6] = 'a';
    leader[3] = '\x1D';  // the length is written over it
    EXPECT_EQ(WriteMarcRecord(leader, title, bytes), RebuildResult::Rebuilt);
    EXPECT_EQ(WriteMarcRecord(Leader,
                              {{{"2\x1D"
                                 "5",
                                 "x"}}},
                              bytes),
              RebuildResult::Malformed);

    // A delimiter or NUL anywhere in a field's content, whether among the bytes looked at eight at
    // a time or in the few after them.
    for (const char framing : {'\x1D', '\x1E', '\0'}) {
        for (std::size_t at = 0; at < 21; ++at) {
            std::string text(21, 'x');
            text[at] = framing;
            EXPECT_EQ(WriteMarcRecord(Leader, {{title[0], {"500", text}}}, bytes),
                      RebuildResult::Malformed)
                << at;
            // Found before a later field too long for the record.
            EXPECT_EQ(
                WriteMarcRecord(Leader, {{{"500", text}, {"520", std::string(9999, 'x')}}}, bytes),
                RebuildResult::Malformed)
                << at;
        }
    }
}
