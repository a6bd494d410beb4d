// Catalogue text read in its own encoding, whatever the record's leader says.
#include "compare/catalogue_text.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "compare/marc_text.h"
#include "support/test_folder.h"

namespace fs = std::filesystem;

TEST(CatalogueText, EachRecordIsReadInTheEncodingItsBytesShow) {
    const fs::path samples = TALLYLEAF_MARC_SAMPLES;
    if (!fs::exists(samples)) GTEST_SKIP() << "no public MARC samples in " << samples;
    struct Case {
        std::string record;
        CatalogueEncoding encoding;
        const char* shown;     // in the record's text as shown, UTF-8 composed
        const char* booklist;  // the same in the booklist's windows-1252
    };
    // The first record of a sample that holds `needle`.
    const auto from = [&](const char* file, const char* needle) {
        for (const std::string& record : RecordsOf(ReadFile(samples / file))) {
            if (record.find(needle) != std::string::npos) return record;
        }
        return std::string();
    };
    const Case cases[] = {
        {from("marc4j__selectedRecs.mrc", "Houtart"), CatalogueEncoding::Marc8,
         "Houtart, Fran\u00e7ois,", "Houtart, Fran\xe7ois,"},
        {from("marc4j__selectedRecs.mrc", "Fedorov"), CatalogueEncoding::Marc8,
         "Fedorov, Andre\u012d", "Fedorov, Andre?"},
        {from("mcharset__cjk2.marc", "Okuno"), CatalogueEncoding::Marc8, "Okuno, Y\u014dko",
         "Okuno, Y?ko"},
        {from("mfast__koha-232766.mrc", "Digitalizacija"), CatalogueEncoding::Utf8,
         "Stan\u010di\u0107, Hrvoje", "Stan?i?, Hrvoje"},
        // MARC-8 under a leader that says UTF-8.
        {from("rubymarc__marc8_accented_chars.marc", "MiU"), CatalogueEncoding::Marc8,
         "Serreau, Genevi\u00e8ve.", "Serreau, Genevi\xe8ve."},
        // Decomposed UTF-8 is composed; a windows-1252 record says so by a mark before a space.
        {MarcFromText("LDR 00000nam a2200000 a 4500\n100 1 $aHoutart, Franc{CC}{A7}ois, 1925-"),
         CatalogueEncoding::Utf8, "Houtart, Fran\u00e7ois, 1925-", "Houtart, Fran\xe7ois, 1925-"},
        {MarcFromText("100 1 $aBront{EB}, Charlotte."), CatalogueEncoding::Windows1252,
         "Bront\u00eb, Charlotte.", "Bront\xeb, Charlotte."},
        {MarcFromText("100 1 $aSmith, John{93}"), CatalogueEncoding::Windows1252,
         "Smith, John\u201c", "Smith, John\x93"},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(c.record.empty());
        const CatalogueEncoding encoding = DecideCatalogueEncoding(c.record);
        EXPECT_EQ(CatalogueEncodingName(encoding), CatalogueEncodingName(c.encoding)) << c.shown;
        EXPECT_NE(CatalogueTextAsUtf8(c.record, encoding).find(c.shown), std::string::npos)
            << CatalogueTextAsUtf8(c.record, encoding);
        EXPECT_NE(CatalogueTextForBooklist(c.record, encoding).find(c.booklist), std::string::npos)
            << c.shown;
    }
}
