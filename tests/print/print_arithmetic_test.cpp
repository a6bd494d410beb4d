#include <gtest/gtest.h>

#include "print/page_layout.h"
#include "print/printer_settings.h"
#include "print/units.h"

namespace {

TEST(PrintUnits, RoundsHalvesToEven) {
    const std::pair<double, long long> cases[] = {{0.5, 0},    {1.5, 2},  {2.5, 2},   {2.4999, 2},
                                                  {2.5001, 3}, {-0.5, 0}, {-1.5, -2}, {-2.6, -3}};
    for (const auto& [value, rounded] : cases)
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

TEST(PrintUnits, ConvertsInEveryMode) {
    struct Case {
        int mode;
        double units;
        int dpi;
        int pixels;
    };
    // 1200 dpi: 10 mm are 472.44 pixels; 600 dpi: 25.4 mm are exactly 600.
    const Case cases[] = {
        {UnitPixels, 12.5, 600, 12},          {UnitTenthInch, 10, 600, 600},
        {UnitMillimetre, 10, 1200, 472},      {UnitMillimetre, 25.4, 600, 600},
        {UnitTenthMillimetre, 254, 300, 300}, {7, 3.5, 600, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnitsToPixels(c.units, c.mode, c.dpi), c.pixels) << c.mode << " " << c.units;
        const double back = PixelsToUnits(c.pixels, c.mode, c.dpi);
        EXPECT_NEAR(UnitsToPixels(back, c.mode, c.dpi), c.pixels, 0) << c.mode;
    }
    EXPECT_DOUBLE_EQ(PixelsToUnits(472, UnitMillimetre, 1200), 472 * 25.4 / 1200);
    EXPECT_DOUBLE_EQ(PixelsToUnits(7, UnitPixels, 1200), 7);
}

// A4 with a 4.2 mm unprintable strip at the left and top and 3 mm at the right.
PageGeometry A4WithStrips() {
    PageGeometry page;
    page.physicalWidth = 210;
    page.physicalHeight = 297;
    page.offsetX = 4.2;
    page.offsetY = 4.2;
    page.printableWidth = 210 - 4.2 - 3;
    page.printableHeight = 297 - 8.4;
    return page;
}

TEST(PageLayout, ClampsMarginsAtThePrintableArea) {
    const PageGeometry page = A4WithStrips();
    const MarginEdges wide = EdgesForMargins(page, 10, 10, 15);
    EXPECT_DOUBLE_EQ(wide.left, 10 - 4.2);
    EXPECT_DOUBLE_EQ(wide.top, 15 - 4.2);
    EXPECT_DOUBLE_EQ(wide.right, page.printableWidth - 7);
    const MarginEdges narrow = EdgesForMargins(page, 0, 0, 2);
    EXPECT_EQ(narrow.left, 0);
    EXPECT_EQ(narrow.top, 0);
    EXPECT_DOUBLE_EQ(narrow.right, page.printableWidth);
}

TEST(PageLayout, PlacesByCodes) {
    const PageGeometry page = A4WithStrips();
    const double right = 190;
    EXPECT_DOUBLE_EQ(PageNumberX(PlaceCentred, page, right, 20), (page.printableWidth - 20) / 2);
    EXPECT_DOUBLE_EQ(PageNumberX(PlaceFlushRight, page, right, 20), page.printableWidth - 20);
    EXPECT_DOUBLE_EQ(PageNumberX(PlaceAtRightMargin, page, right, 20), 170);
    EXPECT_DOUBLE_EQ(PageNumberX(PlaceAtLeft, page, right, 20), 170);
    EXPECT_DOUBLE_EQ(PageNumberX(12.5, page, right, 20), 12.5);

    // A decoration's -3 ends on the whole sheet's width, the page number's on the printable one.
    EXPECT_EQ(PageItemX(PlaceFlushRight, page, right, 20), 190.0);
    EXPECT_EQ(PageItemX(PlaceCentred, page, right, 21), 91.0);  // 90.9 to the nearest whole
    EXPECT_EQ(PageItemX(PlaceAtRightMargin, page, right, 20), 170.0);
    EXPECT_EQ(PageItemX(PlaceAtLeft, page, right, 20), 0.0);
    EXPECT_EQ(PageItemX(-6, page, right, 20), std::nullopt);

    EXPECT_DOUBLE_EQ(HeaderRuleY(4.2), 5.8);
    EXPECT_DOUBLE_EQ(HeaderRuleY(6), 7);
}

// The headings stay 15 mm from the sheet's top until the rule, 7 mm into the printable area below
// a strip wider than 5 mm, would strike them; then they go 1 mm below the rule.
TEST(PageLayout, KeepsTheHeadingsBelowTheRule) {
    const std::pair<double, double> strips[] = {{0, 15}, {4.2, 15}, {5, 15},  {6, 15}, {7, 15},
                                                {8, 16}, {10, 18},  {12, 20}, {20, 28}};
    for (const auto& [strip, headings] : strips) {
        EXPECT_DOUBLE_EQ(ListHeadingTop(15, strip), headings) << strip;
        EXPECT_GE(ListHeadingTop(15, strip), strip + HeaderRuleY(strip) + 1) << strip;
    }
}

TEST(PageLayout, NumbersPagesByTemplate) {
    EXPECT_EQ(PageNumberText("Page ###", 1), "Page 1");
    EXPECT_EQ(PageNumberText("Page ", 2), "Page 2");
    EXPECT_EQ(PageNumberText("### / ###", 12), "12 / 12");
}

TEST(PageLayout, BreaksRowsThatDoNotFit) {
    EXPECT_FALSE(RowNeedsNewPage(270, 12, 282));
    EXPECT_FALSE(RowNeedsNewPage(270.4, 11.5, 282));  // 281.9 rounds to 282
    EXPECT_FALSE(RowNeedsNewPage(270.5, 12, 282));    // 282.5 rounds to even 282
    EXPECT_TRUE(RowNeedsNewPage(271, 11.6, 282));
    EXPECT_TRUE(RowNeedsNewPage(283, 0, 282));
    // Taller than a page: a break even at the top of a fresh page.
    EXPECT_TRUE(RowNeedsNewPage(20, 300, 282));
}

TEST(PageLayout, SplitsRowsAndLists) {
    EXPECT_EQ(SplitRowCells("  12 \tA title|more\t "),
              (std::vector<std::string>{"12", "A title", "more", ""}));
    EXPECT_EQ(SplitListText("ID|Title\tAuthor,Level"),
              (std::vector<std::string>{"ID", "Title", "Author", "Level"}));
    EXPECT_TRUE(SplitListText("").empty());
    EXPECT_EQ(PrintDateText(2024, 3, 7), "07/03/2024");
    EXPECT_EQ(PrintDocumentName(0), "ZPRINT100.TMP");
    EXPECT_EQ(PrintDocumentName(899), "ZPRINT999.TMP");
}

TEST(PageLayout, ScalesListColumnsToMillimetres) {
    const ListColumnsText columns = ListColumnsForPrint(
        {"ID", "Title", "Author", "Added", "Level", "Hidden"}, {80, 270, 210, 100, 100, 0}, 0.23);
    EXPECT_EQ(columns.headings, "ID,Title,Author,Added,Level");
    EXPECT_EQ(columns.widths, "18,62,48,23,23");
    EXPECT_EQ(columns.count, 5);
}

TEST(PrinterSettingsText, SetsOnlyTheKeysItNames) {
    PrinterSettingsRecord record;
    record.copies = 3;
    record.fields = SettingCopies;
    ApplyPrinterSettings("papersize=9,Orientation=2,DUPLEX=$2,COLOR=%10,SCALE=x,BOGUS=4", record);
    EXPECT_EQ(record.paperSize, 9);
    EXPECT_EQ(record.orientation, 2);
    EXPECT_EQ(record.duplex, 2);
    EXPECT_EQ(record.color, 2);
    EXPECT_EQ(record.scale, 0);
    EXPECT_EQ(record.copies, 3);
    EXPECT_EQ(record.fields, SettingCopies | SettingPaperSize | SettingOrientation | SettingDuplex |
                                 SettingColor | SettingScale);

    ApplyPrinterSettings("COPIES", record);  // an item without "=" sets 0
    EXPECT_EQ(record.copies, 0);
    ApplyPrinterSettings("PAPERLENGTH= 2970,PAPERWIDTH=-5,COLLATE=$ff", record);
    EXPECT_EQ(record.paperLength, 2970);
    EXPECT_EQ(record.paperWidth, -5);
    EXPECT_EQ(record.collate, 255);

    PrinterSettingsRecord empty;
    ApplyPrinterSettings("", empty);
    EXPECT_EQ(empty.fields, 0);
}

}  // namespace
