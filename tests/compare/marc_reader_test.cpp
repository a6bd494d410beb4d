#include "compare/marc_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "compare/marc_text.h"

namespace {

struct ReadRecords {
    std::vector<std::string> records;
    std::vector<std::int64_t> positions;  // the file position after each record
};

// Reads a whole file the way a comparison does: one record while bytes are left, an empty one
// (nothing but line breaks, NUL bytes or comments were left) counting as none.
ReadRecords ReadWith(const std::string& bytes, std::size_t blockBytes, std::size_t mapWindowBytes,
                     std::int64_t* examined) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
    MarcFileReader reader(file.get(), blockBytes, mapWindowBytes);
    ReadRecords read;
    std::string record;
    while (!reader.AtEnd()) {
        ReadMarcRecord(reader, record);
        if (record.empty()) continue;
        read.records.push_back(record);
        read.positions.push_back(reader.Position());
    }
    if (examined) *examined = reader.Examined();
    return read;
}

// The same, once read into blocks of `blockBytes` and once through map windows of about that
// size, which must come to the same records at the same positions.
ReadRecords ReadAll(const std::string& bytes, std::size_t blockBytes = MarcReadBlockBytes,
                    std::int64_t* examined = nullptr) {
    const ReadRecords read = ReadWith(bytes, blockBytes, 0, examined);
    const ReadRecords mapped = ReadWith(bytes, blockBytes, blockBytes, nullptr);
    EXPECT_EQ(mapped.records, read.records);
    EXPECT_EQ(mapped.positions, read.positions);
    return read;
}

// The texts of a record, taken both from its split fields and straight from its bytes, which
// must agree.
CatalogueRecord Extracted(std::string_view text,
                          CallNumberOrder order = CallNumberOrder::DeweyFirst) {
    const std::string bytes = MarcFromText(text);
    CatalogueRecord record;
    SplitMarcRecord(bytes, record);
    ExtractBookData(record, order);
    CatalogueRecord direct;
    ExtractBookData(bytes, direct, order);
    // And one text at a time, as a comparison takes them.
    CatalogueRecord single;
    BookFieldIndex fields;
    fields.SetCallNumberOrder(order);
    fields.Index(bytes);
    for (const BookText text :
         {BookText::Series, BookText::CallNumber, BookText::Author, BookText::Title}) {
        fields.TextInto(single, text);
    }
    for (const CatalogueRecord* other : {&direct, &single}) {
        EXPECT_EQ(other->title, record.title);
        EXPECT_EQ(other->author, record.author);
        EXPECT_EQ(other->callNumber, record.callNumber);
        EXPECT_EQ(other->series, record.series);
    }
    return record;
}

const std::string First = MarcFromText("001 one\n245 10$aFirst");
const std::string Second = MarcFromText("001 two\n245 10$aSecond");

}  // namespace

TEST(ReadMarcRecord, RecordsSeparatedByLineBreaksReadAsWrittenBackToBack) {
    const auto together = ReadAll(First + Second).records;
    ASSERT_EQ(together, (std::vector<std::string>{First, Second}));
    EXPECT_EQ(ReadAll(First + "\r\n" + Second).records, together);
    EXPECT_EQ(ReadAll("\n" + First + "\n\r" + Second).records, together);
}

TEST(ReadMarcRecord, CommentLinesBeforeARecordAreSkippedWhole) {
    const auto read = ReadAll("% exported 2024\r\n" + First + "%next\n" + Second + "%last\r");
    EXPECT_EQ(read.records, (std::vector<std::string>{First, Second}));
}

TEST(ReadMarcRecord, LineBreaksAndNulBytesBetweenRecordsAreNoRecords) {
    const std::string nuls(1000, '\0');
    for (const std::string& bytes :
         {First + "\r\n" + Second + "\n", nuls + First + "\r\n\0\0" + Second + nuls,
          First + nuls + "\n" + Second + "\r\n" + nuls}) {
        const auto read = ReadAll(bytes);
        EXPECT_EQ(read.records, (std::vector<std::string>{First, Second}));
        EXPECT_EQ(read.positions.back(), std::int64_t(bytes.rfind(Second) + Second.size()));
    }
}

TEST(ReadMarcRecord, NulByteEndsARecordAndIsNeverKept) {
    const std::string cut = First.substr(0, 30);
    const auto read = ReadAll(cut + '\0' + First.substr(30) + Second);
    ASSERT_EQ(read.records.size(), 3u);
    EXPECT_EQ(read.records[0], cut);
    EXPECT_EQ(read.records[1], First.substr(30));  // runs on to the next terminator
    EXPECT_EQ(read.records[2], Second);
    // A NUL where a record would begin is passed over; the record starts after it.
    EXPECT_EQ(ReadAll(std::string(1, '\0') + Second).records, std::vector<std::string>{Second});
}

TEST(ReadMarcRecord, RunsOfNulBytesCostNoMoreThanTheirLength) {
    // Searching the rest of the block for each record's end, instead of stopping at it, once
    // made a catalogue of NULs take hours.
    const std::size_t pairs = 100000;
    const std::string nuls(2 * pairs, '\0');
    const std::vector<std::string> expected = {First, Second};
    for (const std::size_t block : {std::size_t{4096}, std::size_t{4099}, MarcReadBlockBytes}) {
        SCOPED_TRACE(block);
        std::int64_t examined = 0;
        const std::string bytes = nuls + First + nuls + '\0' + Second;
        const auto read = ReadAll(bytes, block, &examined);
        EXPECT_EQ(read.records, expected);
        EXPECT_EQ(read.positions.back(), std::int64_t(bytes.size()));
        EXPECT_LE(examined, std::int64_t(bytes.size()));
    }
}

TEST(ReadMarcRecord, LastRecordMayLackItsTerminatorAndHighBytesPassThrough) {
    const std::string accented = MarcFromText("245 10$aTh{E9}{E2}tre");
    const std::string unterminated = Second.substr(0, Second.size() - 1);
    const auto read = ReadAll(accented + unterminated);
    EXPECT_EQ(read.records, (std::vector<std::string>{accented, unterminated}));
}

TEST(ReadMarcRecord, RecordsLongerThanTheBufferAreKeptWhole) {
    const std::string big =
        MarcFromText("245 10$a" + std::string(9000, 'x') + "\n500   $a" + std::string(9000, 'y'));
    std::string many;
    for (int i = 0; i < 150; ++i)
        many += big;  // over two read blocks
    const auto read = ReadAll(many);
    ASSERT_EQ(read.records.size(), 150u);
    for (const auto& record : read.records)
        ASSERT_EQ(record, big);
}

TEST(SplitMarcRecord, FieldsComeFromDirectoryTagsAndTerminatorSeparatedData) {
    CatalogueRecord record;
    const std::string bytes = MarcFromText(
        "LDR 00000cam a2200000 i 4500\n001 ocm1\n100 1 $aSmith, John,\n245 14$aThe secret garden "
        "/");
    ASSERT_EQ(SplitMarcRecord(bytes, record), 3u);
    EXPECT_EQ(record.leader.substr(5), "cam a2200061 i 4500");
    EXPECT_EQ(FieldTexts(record), (std::vector<std::string>{"001 ocm1", "100 1 $aSmith, John,",
                                                            "245 14$aThe secret garden /"}));
}

TEST(SplitMarcRecord, LengthsAndStartsOfTheDirectoryAreNotUsed) {
    std::string bytes = MarcFromText("100 1 $aSmith\n245 10$aHoles");
    bytes.replace(24 + 3, 9, "999999999");  // first entry: nonsense length and start
    CatalogueRecord record;
    ASSERT_EQ(SplitMarcRecord(bytes, record), 2u);
    EXPECT_EQ(FieldAsText(record, 0), "100 1 $aSmith");
    EXPECT_EQ(FieldAsText(record, 1), "245 10$aHoles");
}

TEST(SplitMarcRecord, DamagedRecordsYieldFewerFieldsOrNone) {
    CatalogueRecord record;
    const std::string good = MarcFromText("100 1 $aSmith\n245 10$aHoles");
    EXPECT_EQ(SplitMarcRecord(good.substr(0, 39), record), 0u);  // shorter than 40 bytes

    std::string lowBase = good;
    lowBase.replace(12, 5, "00036");
    EXPECT_EQ(SplitMarcRecord(lowBase, record), 0u);
    std::string noDigits = good;
    noDigits.replace(12, 5, "  x12");
    EXPECT_EQ(SplitMarcRecord(noDigits, record), 0u);
    std::string spaced = good;
    spaced.replace(12, 5, "   37");  // leading spaces are skipped: one directory entry
    EXPECT_EQ(SplitMarcRecord(spaced, record), 1u);

    // The data begins after the first field terminator, even one in the leader or the directory.
    const std::size_t base = 24 + 2 * 12 + 1;
    for (const std::size_t at : {std::size_t{20}, std::size_t{30}}) {
        std::string early = good;
        early[at] = '\x1E';
        ASSERT_EQ(SplitMarcRecord(early, record), 2u) << at;
        EXPECT_EQ(record.FieldContent(0), early.substr(at + 1, base - 1 - (at + 1))) << at;
    }

    // More directory entries than data pieces: the missing contents are empty.
    const std::string shortData = MarcRecordBytes("00000nam a2200000 a 4500", {"100 1 $aSmith"});
    std::string extended = shortData.substr(0, 36) + "245000500000" + shortData.substr(36);
    extended.replace(12, 5, "00049");
    ASSERT_EQ(SplitMarcRecord(extended, record), 2u);
    EXPECT_EQ(FieldAsText(record, 1), "245");

    // A last field without its own terminator does not take the record terminator with it.
    std::string unterminated = good;
    unterminated.erase(unterminated.size() - 2, 1);
    ASSERT_EQ(SplitMarcRecord(unterminated, record), 2u);
    EXPECT_EQ(FieldAsText(record, 1), "245 10$aHoles");
}

TEST(SplitMarcRecord, TheLargestBaseAddressHoldsEightThousandDirectoryEntries) {
    // Five digits of base address cap the directory at 8331 entries, below the 10,000 fields
    // that a record may hold.
    const std::vector<std::string> fields(9000, "500   $ax");
    std::string bytes = MarcRecordBytes("00000nam a2200000 a 4500", {"500   $ax"});
    bytes = bytes.substr(0, 24);
    for (std::size_t i = 0; i < fields.size(); ++i)
        bytes += "500000500000";
    bytes += '\x1E';
    for (std::size_t i = 0; i < fields.size(); ++i)
        bytes += std::string(
            "  \x1F"
            "ax\x1E");
    bytes += '\x1D';
    bytes.replace(12, 5, "99999");
    CatalogueRecord record;
    ASSERT_EQ(SplitMarcRecord(bytes, record), 8331u);
    EXPECT_EQ(FieldAsText(record, 8330), "500   $ax");
}

TEST(SubfieldAccess, CountsAndPiecesOfTheSubfieldArea) {
    EXPECT_EQ(SubfieldCount(""), 0);
    EXPECT_EQ(SubfieldCount("aHoles"), 1);
    EXPECT_EQ(SubfieldCount("aTitle :\x1F"
                            "bsubtitle /\x1F"
                            "c"),
              3);
    const std::string_view area =
        "aTitle :\x1F"
        "bsubtitle /\x1F\x1F"
        "cLast";
    EXPECT_EQ(SubfieldAt(area, 1), "aTitle :");
    EXPECT_EQ(SubfieldAt(area, 0), "aTitle :");
    EXPECT_EQ(SubfieldAt(area, -3), "aTitle :");
    EXPECT_EQ(SubfieldAt(area, 2), "bsubtitle /");
    EXPECT_EQ(SubfieldAt(area, 3), "");
    EXPECT_EQ(SubfieldAt(area, 4), "cLast");
    EXPECT_EQ(SubfieldAt(area, 5), "");
}

TEST(ExtractBookData, TitleJoinsTrimmedSubfieldsAOnlyFromTheFirst245) {
    const auto record =
        Extracted("245 10$a  Title : $bsubtitle / $cby Someone.$hprint\n245 10$aSecond title");
    EXPECT_EQ(record.title, "Title : subtitle /");
}

TEST(ExtractBookData, AuthorStatementsJoinEveryCodeAndSeveralFieldsWithTilde) {
    const auto record =
        Extracted("100 1 $aSmith, John,$d1950-\n110 2 $aLonely Planet\n100 1 $dfirst$aJones");
    EXPECT_EQ(record.author, "Smith, John, 1950-~Lonely Planet~Jones");
}

TEST(ExtractBookData, CallNumberFromSubfieldsAAndBAcross082Fields) {
    EXPECT_EQ(Extracted("082 04$a823.914$bROW$2 22").callNumber, "823.914 ROW");
    EXPECT_EQ(Extracted("082 04$a823.914\n082 04$bROW").callNumber, "823.914 ROW");
    EXPECT_EQ(Extracted("082 04$a823\n082 04$a941$bA").callNumber, "941 A");
}

// Where the call number comes from under each choice: dewey-first, local-first, dewey-only.
TEST(ExtractBookData, CallNumberFromTheFieldsTheChoiceNames) {
    struct Case {
        const char* fields;
        const char* deweyFirst;
        const char* localFirst;
        const char* deweyOnly;
    };
    const Case cases[] = {
        {"082 04$a823.914$bROW\n092   $aF SMI", "823.914 ROW", "F SMI", "823.914 ROW"},
        {"092   $a F $bSMI $bX", "F SMI", "F SMI", ""},
        {"090   $bSMI$aPZ7$aPZ8", "PZ7 SMI", "PZ7 SMI", ""},
        {"099   $aFIC$bx$a SMI ", "FIC SMI", "FIC SMI", ""},
        {"852 0 $aLib$hPR$kREF$mvol 1$iX", "PR REF vol 1 X", "PR REF vol 1 X", ""},
        {"952   $o F SMI$oOther", "F SMI", "F SMI", ""},
        {"900   $a \n900   $aLocal 1$aLocal 2", "Local 1", "Local 1", ""},
        {"050 00$aPR4034$b.P7", "PR4034 .P7", "PR4034 .P7", ""},
        {"082 04$a \n952   $oF X", "F X", "F X", ""},
        {"090   $aA0\n099   $aN99", "N99", "N99", ""},
        {"050 00$aPR1\n900   $aN9\n952   $oO9\n852 0 $hH8", "H8", "H8", ""},
        {"050 00$aPR1\n900   $aN9\n952   $oO9", "O9", "O9", ""},
        {"082 04$a823\n050 00$aPR1", "823", "823", "823"},
        {"090   $c\n852 0 $aLib", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields);
        EXPECT_EQ(Extracted(c.fields, CallNumberOrder::DeweyFirst).callNumber, c.deweyFirst);
        EXPECT_EQ(Extracted(c.fields, CallNumberOrder::LocalFirst).callNumber, c.localFirst);
        EXPECT_EQ(Extracted(c.fields, CallNumberOrder::DeweyOnly).callNumber, c.deweyOnly);
    }
}

TEST(ExtractBookData, SeriesDropsFinalPeriodDuplicatesAndProgrammeEntries) {
    EXPECT_EQ(Extracted("490 1 $aRainbow magic.\n490 1 $aRAINBOW MAGIC").series, "Rainbow magic");
    EXPECT_EQ(Extracted("490 1 $aTUL 3-5\n440  0$aTUL Mature").series, "");
    EXPECT_EQ(Extracted("440  0$aTUL R-2\n490 1 $aRainbow magic ;$v3").series, "Rainbow magic ; 3");
    EXPECT_EQ(Extracted("440  0$aAnimal Ark.\n490 1 $aPuffin books\n490 1 $aanimal ark").series,
              "Animal Ark~Puffin books");
    EXPECT_EQ(Extracted("490 1 $a.").series, "");
}

TEST(ExtractBookData, TagsAreReadAsNumbersAndOtherFieldsAreCarried) {
    // " 82" reads as 82 like any leniently read number; LDR and 000 fields are passed over.
    CatalogueRecord record;
    SplitMarcRecord(MarcRecordBytes("00000nam a2200000 a 4500", {"LDR10\x1F"
                                                                 "aNot a title",
                                                                 " 8204\x1F"
                                                                 "a941",
                                                                 "00010\x1F"
                                                                 "aNor this",
                                                                 "24610\x1F"
                                                                 "aOther title",
                                                                 "650 0\x1F"
                                                                 "aDogs"}),
                    record);
    ExtractBookData(record);
    EXPECT_EQ(record.callNumber, "941");
    EXPECT_EQ(record.title, "");
    EXPECT_EQ(record.FieldCount(), 5u);
}

TEST(ExtractBookData, SeriesStatementsPastOneThousandAreIgnored) {
    std::string text;
    for (int i = 1; i <= 1005; ++i)
        text += "490 1 $aSeries " + std::to_string(i) + "\n";
    const auto record = Extracted(text);
    EXPECT_TRUE(record.series.ends_with("~Series 1000"));
    EXPECT_EQ(std::count(record.series.begin(), record.series.end(), '~'), 999);
}

TEST(ExtractAuthor, TextsFromTheBytesAgreeWithTheSplitRecordEvenWhenDamaged) {
    const std::string full = MarcFromText(
        "082 04$a823$bROW\n100 1 $aRow, Ann\n245 10$aTitle :$bsub\n490 1 $aSeries.\n650 0$aX");
    const std::vector<std::string> records = {
        full,
        full.substr(0, full.size() - 12),
        full.substr(0, 90),
        full.substr(0, full.size() - 1) + "\x1E\x1E\x1D",
        MarcFromText("100 1 $aSmith, John,$d1950-\n110 2 $aLonely Planet\n100 1 $dfirst$aJones"),
        MarcFromText("001 one\n245 10$aNo author"),
        MarcFromText("100 1 $a\n100 1 $aSecond, Only\n245 10$aTitle\n650  7$aLast"),
        MarcFromText("245 10$aTitle\n 100 1 $aLenient, Tag"),
        MarcFromText("245 10$cno title\n245 10$aSecond$btitle"),
        MarcRecordBytes("00000nam a2200000 a 4500", {"LDR10\x1F"
                                                     "aLeader",
                                                     "100  $aAfter, Leader"}),
        First.substr(0, 30),
        First.substr(0, First.size() - 5),
        std::string(),
    };
    std::string author;
    for (const std::string& bytes : records) {
        CatalogueRecord record;
        SplitMarcRecord(bytes, record);
        ExtractBookData(record);
        ExtractAuthor(bytes, author);
        EXPECT_EQ(author, record.author) << bytes;
        CatalogueRecord direct;
        ExtractBookData(bytes, direct);
        EXPECT_EQ(direct.author, record.author) << bytes;
        EXPECT_EQ(direct.title, record.title) << bytes;
        EXPECT_EQ(direct.callNumber, record.callNumber) << bytes;
        EXPECT_EQ(direct.series, record.series) << bytes;
        BookFieldIndex fields;
        fields.Index(bytes);
        CatalogueRecord title;
        fields.TextInto(title, BookText::Title);
        EXPECT_EQ(title.title, record.title) << bytes;
    }
    ExtractAuthor(records[4], author);
    EXPECT_EQ(author, "Smith, John, 1950-~Lonely Planet~Jones");
}
