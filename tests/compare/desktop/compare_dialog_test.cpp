// The Compare command on Qt's offscreen platform: the real dialog and progress window, with the
// catalogue file, the Cancel and the closing message preset as the user's answers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window.h"
#include "app/desktop/main_window_ids.h"
#include "base/replacing_file.h"
#include "booklist/booklist.h"
#include "compare/desktop/compare_dialog.h"
#include "compare/marc_text.h"
#include "platform/qt/controls.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/message.h"
#include "platform/qt/program_window.h"
#include "support/gui/gui_helpers.h"
#include "support/test_folder.h"

namespace {

// The dialog once it is up and active: keys reach its shortcuts only then, as a user's would.
QWidget* CompareDialog() {
    QWidget* dialog = WindowById(CompareDialogNumber);
    const bool ready = dialog && dialog->isVisible() && QApplication::activeWindow() == dialog;
    return ready ? dialog : nullptr;
}

QCheckBox* Box(int control) {
    return ControlAs<QCheckBox>(CompareDialogNumber, control);
}

void PressInDialog(Qt::Key key) {
    WhenShown(CompareDialog, [key](QWidget* dialog) { QTest::keyClick(dialog, key); });
}

std::string Record(const std::string& id, const std::string& author, const std::string& title) {
    return "001 " + id + "\n082 04$a8" + id + "\n100 1 $a" + author + "\n245 10$a" + title + "\n\n";
}

// The first line of the message that closes a run.
std::string OutcomeHeading() {
    if (TestSessionServices().ShownMessages().empty()) return {};
    const std::string& text = TestSessionServices().ShownMessages().back().text;
    return text.substr(0, text.find('\n') + 1);
}

class CompareDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFile("Booklist.tul",
                  BooklistLine(1, "Holes", "Sachar, Louis", "N", "Adventure", "Mature", "Book") +
                      BooklistLine(2, "Wonder", "Palacio, R. J.", "N", "School",
                                   "Early Years (R-2)", "Book") +
                      BooklistLine(3, "Matilda", "Dahl, Roald", "N", "Humour",
                                   "Primary Years (3-5)", "Book"));
        WriteFile("Matches.tul", "3,823 DAH\r\n");
        WriteFile("catalogue.mrc", MarcFromText(Record("1", "Sachar, Louis.", "Holes /") +
                                                Record("2", "Palacio, R. J.", "Wonder")));
        StartMainWindow(TestSession());
    }

    static bool Matched(const char* id) {
        return TestSession().booklist.LookupRecord(id).matched == 1;
    }
    std::string Catalogue() const { return (folder.Path() / "catalogue.mrc").string(); }

    TestFolder folder;
};

}  // namespace

TEST_F(CompareDialogTest, OptionsAreTickedEveryTimeAndCancelChangesNothing) {
    bool looked = false;
    WhenShown(CompareDialog, [&](QWidget* dialog) {
        auto* window = ProgramWindowById(CompareDialogNumber);
        EXPECT_EQ(FromDisplay(dialog->windowTitle()), "Compare Library Data");
        EXPECT_EQ(window->Content()->size(), QSize(430, 300));
        EXPECT_FALSE(WindowById(MainWindowNumber)->isEnabled());
        EXPECT_TRUE(Box(TagTitlesControl)->isChecked());
        EXPECT_TRUE(Box(TagSeriesControl)->isChecked());
        EXPECT_EQ(FromDisplay(Box(TagTitlesControl)->text()),
                  "Tag items by adding * in front of titles (245 $a only)");
        EXPECT_EQ(Box(TagTitlesControl)->geometry(), QRect(30, 40, 370, 40));
        EXPECT_EQ(Box(TagSeriesControl)->geometry(), QRect(30, 86, 370, 40));
        EXPECT_EQ(ControlById(CompareDialogNumber, CompareOkControl)->geometry(),
                  QRect(267, 271, 75, 22));
        EXPECT_EQ(ControlById(CompareDialogNumber, CompareCancelControl)->geometry(),
                  QRect(348, 271, 75, 22));
        EXPECT_TRUE(ControlById(CompareDialogNumber, CompareOkControl)->hasFocus());
        // Where call numbers come from: 082 first unless the librarian chose otherwise.
        auto* callNumbers = ControlAs<QComboBox>(CompareDialogNumber, CallNumberControl);
        EXPECT_EQ(callNumbers->count(), 3);
        EXPECT_EQ(callNumbers->currentIndex(), 0);
        EXPECT_EQ(FromDisplay(callNumbers->itemText(1)), "The library's own fields, then 082");
        // The text wraps onto a second line of the box, and a click there toggles it too.
        for (QCheckBox* box : {Box(TagTitlesControl), Box(TagSeriesControl)}) {
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 4, box->height() - 4));
            EXPECT_FALSE(box->isChecked());
        }
        looked = true;
        // Ticking does not end the dialog: it is still there for the Escape.
        PressInDialog(Qt::Key_Escape);
    });
    // The main window's Compare command (menu, button, F5) opens the dialog.
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {CompareCommand, EventClicked}));
    EXPECT_TRUE(looked);
    EXPECT_EQ(WindowStack(), "1");
    EXPECT_TRUE(WindowById(MainWindowNumber)->isEnabled());

    // Again: both boxes ticked afresh; the close box cancels too.
    bool ticked = false;
    WhenShown(CompareDialog, [&](QWidget* dialog) {
        ticked = Box(TagTitlesControl)->isChecked() && Box(TagSeriesControl)->isChecked();
        dialog->close();
    });
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {CompareCommand, EventClicked}));
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(TestSessionServices().FileDialogs().empty());
    EXPECT_TRUE(Matched("3"));
    EXPECT_FALSE(FileExists("OUTPUT.MRC"));
    EXPECT_EQ(ReadFile("Matches.tul"), "3,823 DAH\r\n");
}

TEST_F(CompareDialogTest, ReturnActsAsOkAndACancelledChooserEndsTheCommand) {
    PressInDialog(Qt::Key_Return);
    TestSessionServices().PresetChosenFile("");
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {CompareCommand, EventClicked}));

    ASSERT_EQ(TestSessionServices().FileDialogs().size(), 1u);
    const TestServices::FileDialog& asked = TestSessionServices().FileDialogs()[0];
    EXPECT_FALSE(asked.save);
    EXPECT_EQ(asked.title, "Open file");
    EXPECT_EQ(asked.defaultName, "*.MRC");
    EXPECT_EQ(asked.defaultExtension, "MRC");
    EXPECT_EQ(asked.filter, "MARC files | *.mrc;*.marc;*.xml | All Files | * ||");
    EXPECT_TRUE(TestSessionServices().ShownMessages().empty());
    EXPECT_TRUE(Matched("3"));
    EXPECT_FALSE(FileExists("OUTPUT.MRC"));
}

TEST_F(CompareDialogTest, OutputGoesBesideTheBooklistInAFolderNamedBeyondAscii) {
    const std::filesystem::path library = folder.Path() / "Biblioth\xC3\xA8que";
    std::filesystem::create_directory(library);
    std::filesystem::copy_file("catalogue.mrc", library / "catalogue.mrc");
    TestSession().folder = DataFolder(library.string());
    PressInDialog(Qt::Key_Return);
    TestSessionServices().PresetChosenFile((library / "catalogue.mrc").string());
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {CompareCommand, EventClicked}));

    EXPECT_TRUE(Matched("1"));
    EXPECT_TRUE(FileExists(library / "OUTPUT.MRC"));
    ASSERT_EQ(TestSessionServices().ShownMessages().size(), 1u);
    EXPECT_EQ(TestSessionServices().ShownMessages()[0].text,
              "Tagged library items are in the file\r\n" + (library / "OUTPUT.MRC").string() +
                  "\r\n2 records read, 2 matches.");
}

TEST_F(CompareDialogTest, RunWithBothOptionsClearedWritesUntaggedAndRefreshesTheList) {
    WhenShown(CompareDialog, [](QWidget*) {
        Box(TagTitlesControl)->click();
        Box(TagSeriesControl)->click();
        ControlAs<QComboBox>(CompareDialogNumber, CallNumberControl)->setCurrentIndex(2);
        ControlAs<QPushButton>(CompareDialogNumber, CompareOkControl)->click();
    });
    TestSessionServices().PresetChosenFile(Catalogue());
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {CompareCommand, EventClicked}));

    EXPECT_TRUE(Matched("1"));
    EXPECT_TRUE(Matched("2"));
    EXPECT_FALSE(Matched("3"));
    EXPECT_EQ(ReadFile("OUTPUT.MRC"), ReadFile("catalogue.mrc"));  // untagged, unchanged
    EXPECT_EQ(OutcomeHeading(), "Tagged library items are in the file\r\n");
    QWidget* main = WindowById(MainWindowNumber);
    EXPECT_TRUE(main->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == main; }, 5000));
    // The list shows the run's call numbers.
    bool shown = false;
    for (int row = 0; row < BookListRowCount(); ++row) {
        for (int column = 0; column < 8; ++column)
            shown |= BookListCell(row, column) == "82";
    }
    EXPECT_TRUE(shown);
    // The call-number choice is remembered; the tagging boxes are ticked afresh.
    EXPECT_EQ(ReadFile("Settings.txt"), "CallNumberFrom\tdewey-only\r\n");
    bool reopened = false;
    WhenShown(CompareDialog, [&](QWidget* dialog) {
        reopened =
            ControlAs<QComboBox>(CompareDialogNumber, CallNumberControl)->currentIndex() == 2 &&
            Box(TagTitlesControl)->isChecked() && Box(TagSeriesControl)->isChecked();
        dialog->close();
    });
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {CompareCommand, EventClicked}));
    EXPECT_TRUE(reopened);
}

// Results that cannot all be put in place leave the earlier ones, in the files and in the list.
TEST_F(CompareDialogTest, AFullDiskKeepsTheMatchesShownBefore) {
    PressInDialog(Qt::Key_Return);
    TestSessionServices().PresetChosenFile(Catalogue());
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    FailNextFileAfter(30);
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {CompareCommand, EventClicked}));
    EXPECT_TRUE(Matched("3"));
    EXPECT_FALSE(Matched("1"));
    EXPECT_EQ(ReadFile("Matches.tul"), "3,823 DAH\r\n");
    EXPECT_FALSE(FileExists("OUTPUT.MRC"));
    EXPECT_NE(TestSessionServices().ShownMessages().back().text.find("No space left on device"),
              std::string::npos);
}

TEST_F(CompareDialogTest, CancelInTheProgressWindowKeepsAndSavesTheMatchesSoFar) {
    WriteFile("catalogue.mrc", MarcFromText(Record("1", "Sachar, Louis.", "Holes") +
                                            Record("1", "Sachar, Louis.", "Holes") +
                                            Record("2", "Palacio, R. J.", "Wonder") +
                                            Record("2", "Palacio, R. J.", "Wonder")));
    PressInDialog(Qt::Key_Return);
    TestSessionServices().PresetChosenFile(Catalogue());
    // One poll per record: Cancel comes after the second.
    TestSessionServices().PresetCancelAtPoll(2);
    TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {CompareCommand, EventClicked}));

    const std::string output = ReadFile("OUTPUT.MRC");
    EXPECT_EQ(std::count(output.begin(), output.end(), '\x1D'), 2);
    EXPECT_TRUE(Matched("1"));
    EXPECT_FALSE(Matched("2"));
    EXPECT_FALSE(Matched("3"));
    EXPECT_EQ(WithoutRunLine(ReadFile("Matches.tul")), "1,81\r\n");
    EXPECT_EQ(OutcomeHeading(), "Tagged library items are in the file\r\n");
    EXPECT_EQ(IndependentReaderFaults("OUTPUT.MRC"), "");
}
