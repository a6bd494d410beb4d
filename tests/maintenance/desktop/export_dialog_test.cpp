// The Export command on Qt's offscreen platform: the real dialog, with the file dialog's answers
// and the failure message preset. What it writes is held against what tallyleaf-cli writes for
// the same list.
#include "maintenance/desktop/export_dialog.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>
#include <functional>
#include <ostream>

#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window.h"
#include "app/desktop/main_window_ids.h"
#include "app/filter_state.h"
#include "base/replacing_file.h"
#include "maintenance/export_writer.h"
#include "platform/qt/controls.h"
#include "platform/qt/event_queue.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/message.h"
#include "platform/qt/program_window.h"
#include "platform/qt/report_list.h"
#include "support/gui/gui_helpers.h"
#include "support/test_folder.h"

namespace fs = std::filesystem;

namespace {

QWidget* ExportWindow() {
    QWidget* window = WindowById(ExportWindowNumber);
    const bool ready = window && window->isVisible() && QApplication::activeWindow() == window;
    return ready ? window : nullptr;
}

QAbstractButton* Button(int control) {
    return ControlAs<QAbstractButton>(ExportWindowNumber, control);
}

QCheckBox* FieldBox(int field) {
    return ControlAs<QCheckBox>(ExportWindowNumber, ExportFirstFieldControl + field);
}

// The dialog's state: the tab option, then one letter a field, "x" set and "-" not.
std::string DialogState() {
    std::string state = Button(ExportTabOption)->isChecked() ? "tab " : "comma ";
    for (int field = 0; field < ExportFieldCount; ++field)
        state += FieldBox(field)->isChecked() ? 'x' : '-';
    return state;
}

std::string Quoted(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int RunCli(const std::vector<std::string>& args) {
    std::string command = Quoted(TALLYLEAF_CLI);
    for (const std::string& arg : args)
        command += " " + Quoted(arg);
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> FirstColumn(const std::string& file) {
    std::vector<std::string> ids;
    for (std::size_t start = file.find("\r\n") + 2; start < file.size();) {
        const std::size_t end = file.find("\r\n", start);
        const std::string line = file.substr(start, end - start);
        ids.push_back(line.substr(1, line.find('"', 1) - 1));
        start = end + 2;
    }
    return ids;
}

class ExportDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"Booklist.tul", "Matches.tul", "TULVersion.txt"})
            fs::copy_file(TestData("booklist-small") / name, name);
        StartMainWindow(TestSession());
        Pick(MatchSelectorControl, "Everything");
    }

    // The user picks an entry of a main-window selector; the loop carries it out.
    static void Pick(int control, const char* entry) {
        auto* selector = ControlAs<QComboBox>(MainWindowNumber, control);
        const int index = selector->findText(entry);
        ASSERT_GE(index, 0) << entry;
        selector->setCurrentIndex(index);
        emit selector->activated(index);
        EXPECT_TRUE(HandleNextMainEvent(TestSession()));
    }

    // The Export command, with `choose` setting up the dialog before OK and `answer` given in
    // the file dialog.
    static void Export(
        const std::string& answer, const std::function<void()>& choose = [] {}) {
        TestSessionServices().PresetChosenFile(answer);
        if (answer.size() >= 3) {  // yes to replacing, then the notice of what happened
            if (std::filesystem::is_regular_file(answer))
                TestSessionServices().PresetMessageAnswer(MessageAnswer::Yes);
            TestSessionServices().PresetMessageAnswer(MessageAnswer::Ok);
        }
        WhenShown(ExportWindow, [choose](QWidget*) {
            choose();
            Button(ExportOkControl)->click();
        });
        EXPECT_TRUE(DispatchMainCommand(TestSession(), {ExportCommand, EventClicked}));
        EXPECT_EQ(WindowStack(), "1");
    }

    // Delete in the main list, once the main window is back in front to take the key.
    static void DeleteRows(const std::vector<int>& rows) {
        QWidget* main = WindowById(MainWindowNumber);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == main; }, 5000));
        SelectListRows(MainBookList(), rows);
        QTest::keyClick(MainBookList(), Qt::Key_Delete);
        EXPECT_TRUE(HandleNextMainEvent(TestSession()));
    }

    std::string Path(const char* name) const { return (folder.Path() / name).string(); }

    TestFolder folder;
};

TEST_F(ExportDialogTest, OpensWithTheDefaultsWhichResetRestoresAndCancelWritesNothing) {
    std::string opened, changed, reset;
    WhenShown(ExportWindow, [&](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), "Export List");
        EXPECT_EQ(ProgramWindowById(ExportWindowNumber)->Content()->size(), QSize(320, 480));
        EXPECT_EQ(ControlById(ExportWindowNumber, ExportFormatFrame)->geometry(),
                  QRect(12, 12, 296, 70));
        EXPECT_EQ(Button(ExportCommaOption)->geometry(), QRect(22, 30, 200, 20));
        EXPECT_EQ(Button(ExportTabOption)->text(), "Export tab format (.txt)");
        EXPECT_EQ(ControlById(ExportWindowNumber, ExportFieldsFrame)->geometry(),
                  QRect(12, 100, 296, 270));
        EXPECT_EQ(FieldBox(0)->text(), "ID");
        EXPECT_EQ(FieldBox(11)->geometry(), QRect(22, 340, 150, 20));
        EXPECT_EQ(Button(ExportResetControl)->geometry(), QRect(76, 451, 75, 22));
        EXPECT_EQ(Button(ExportOkControl)->geometry(), QRect(157, 451, 75, 22));
        EXPECT_EQ(Button(ExportCancelControl)->geometry(), QRect(238, 451, 75, 22));
        opened = DialogState();

        Button(ExportTabOption)->click();
        FieldBox(0)->click();
        FieldBox(3)->click();
        changed = DialogState();
        Button(ExportResetControl)->click();
        // Once the dialog has taken every click, it is still there.
        WhenShown([] { return WindowEventQueued() ? nullptr : ExportWindow(); },
                  [&](QWidget*) {
                      reset = DialogState();
                      Button(ExportCancelControl)->click();
                  });
    });
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {ExportCommand, EventClicked}));

    EXPECT_EQ(opened, "comma xxx------x-x");
    EXPECT_EQ(changed, "tab -xxx-----x-x");
    EXPECT_EQ(reset, opened);
    EXPECT_EQ(WindowStack(), "1");
    EXPECT_TRUE(TestSessionServices().FileDialogs().empty());

    // The close box ends it as Cancel does.
    WhenShown(ExportWindow, [](QWidget* window) { window->close(); });
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {ExportCommand, EventClicked}));
    EXPECT_EQ(WindowStack(), "1");
    EXPECT_TRUE(TestSessionServices().FileDialogs().empty());
}

struct SameAsCliCase {
    const char* name;
    const char* selector;  // the main list's filter, picked in the level or category selector
    int selectorControl;
    std::function<void()> choose;
    std::vector<std::string> cliArgs;
};

void PrintTo(const SameAsCliCase& c, std::ostream* out) {
    *out << c.name;
}

class ExportSameAsCli : public ExportDialogTest,
                        public ::testing::WithParamInterface<SameAsCliCase> {};

// The command-line tool is the reference: the same filters, fields and format give the same bytes.
TEST_P(ExportSameAsCli, WritesTheBytesTheCommandLineWrites) {
    const SameAsCliCase& c = GetParam();
    if (c.selector) Pick(c.selectorControl, c.selector);
    Export(Path("dialog.out"), c.choose);

    std::vector<std::string> args = {"export", "--dir", folder.Path().string()};
    args.insert(args.end(), c.cliArgs.begin(), c.cliArgs.end());
    args.push_back(Path("cli.out"));
    ASSERT_EQ(RunCli(args), 0);
    ASSERT_TRUE(FileExists("dialog.out"));
    EXPECT_EQ(ReadFile("dialog.out"), ReadFile("cli.out"));
    EXPECT_TRUE(TestSessionServices().ShownMessages().at(0).text.ends_with(" written to " +
                                                                           Path("dialog.out")));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ExportSameAsCli,
    ::testing::Values(SameAsCliCase{"CommaDefaults", nullptr, 0, [] {}, {}},
                      SameAsCliCase{
                          "TabEveryFieldOfOneCategory",
                          "Sport",
                          CategorySelectorControl,
                          [] {
                              Button(ExportTabOption)->click();
                              for (int field = 0; field < ExportFieldCount; ++field) {
                                  if (!FieldBox(field)->isChecked()) FieldBox(field)->click();
                              }
                          },
                          {"--tab", "--category", "Sport", "--fields",
                           "id,title,author,australian,publisher,year,isbn,outofprint,categories,"
                           "levels,annotation,callnumber"}},
                      SameAsCliCase{"OnlyTheTitleOfOneLevel",
                                    "Mature",
                                    LevelSelectorControl,
                                    [] {
                                        for (int field = 0; field < ExportFieldCount; ++field) {
                                            const bool title =
                                                std::string(ExportFields()[field].name) == "title";
                                            if (FieldBox(field)->isChecked() != title)
                                                FieldBox(field)->click();
                                        }
                                    },
                                    {"--level", "Mature", "--fields", "TITLE"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExportDialogTest, WritesTheRowsAsTheListShowsThem) {
    Export(Path("all.csv"));
    EXPECT_EQ(ReadFile("all.csv").substr(0, ReadFile("all.csv").find("\r\n")),
              "\"Id\",\"Title\",\"Author\",\"Levels\",\"Library call number\"");

    ClickHeading(MainBookList(), 0);
    Export(Path("sorted.csv"));
    EXPECT_EQ(FirstColumn(ReadFile("sorted.csv")),
              (std::vector<std::string>{"5", "7", "12", "30"}));

    DeleteRows({0, 2});
    Export(Path("kept.csv"), [] {
        for (int field = 0; field < ExportFieldCount; ++field) {
            if (FieldBox(field)->isChecked()) FieldBox(field)->click();
        }
    });
    EXPECT_EQ(ReadFile("kept.csv"), "\r\n\r\n\r\n");  // the header and the two rows left

    // With every row taken out there is nothing to export, and no dialog.
    DeleteRows({0, 1});
    ASSERT_EQ(BookListRowCount(), 0);
    EXPECT_TRUE(DispatchMainCommand(TestSession(), {ExportCommand, EventClicked}));
    EXPECT_EQ(WindowStack(), "1");
    EXPECT_EQ(TestSessionServices().FileDialogs().size(), 3u);
}

TEST_F(ExportDialogTest, AsksForTheTargetByFormatAndACancelOrShortNameWritesNothing) {
    const auto before = std::distance(fs::directory_iterator("."), fs::directory_iterator());
    Export("");
    Export("ab", [] { Button(ExportTabOption)->click(); });
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), before);

    ASSERT_EQ(TestSessionServices().FileDialogs().size(), 2u);
    const TestServices::FileDialog& comma = TestSessionServices().FileDialogs()[0];
    EXPECT_TRUE(comma.save);
    EXPECT_EQ(comma.title, "Export list");
    EXPECT_EQ(comma.defaultName, "tullist.csv");
    EXPECT_EQ(comma.filter,
              "Comma-separated text files (*.csv)|*.csv|Text files (*.txt)|*.txt|All Files "
              "(*.*)|*.*||");
    const TestServices::FileDialog& tab = TestSessionServices().FileDialogs()[1];
    EXPECT_EQ(tab.defaultName, "tullist.txt");
    EXPECT_EQ(tab.filter,
              "Text files (*.txt)|*.txt|Comma-separated text files (*.csv)|*.csv|All Files "
              "(*.*)|*.*||");
    EXPECT_TRUE(TestSessionServices().ShownMessages().empty());
}

struct FailureCase {
    const char* name;
    const char* target;
    std::function<void()> prepare;
    const char* reason;
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

class ExportFailure : public ExportDialogTest, public ::testing::WithParamInterface<FailureCase> {};

// The user is told which file was not written and why; whatever was there stays as it was.
TEST_P(ExportFailure, NamesTheFileAndLeavesWhatWasThere) {
    const FailureCase& c = GetParam();
    c.prepare();
    const std::string before = FileExists(c.target) && fs::is_regular_file(c.target)
                                   ? ReadFile(c.target)
                                   : std::string("(none)");
    Export(Path(c.target));

    // After the question whether to replace an earlier export, where there is one.
    ASSERT_FALSE(TestSessionServices().ShownMessages().empty());
    EXPECT_LE(TestSessionServices().ShownMessages().size(), 2u);
    const TestServices::Message& message = TestSessionServices().ShownMessages().back();
    EXPECT_EQ(message.title, "Export");
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
    EXPECT_EQ(message.text, "The list was not written to the file\r\n" + Path(c.target) + "\r\n" +
                                c.reason + ".");
    const std::string after = FileExists(c.target) && fs::is_regular_file(c.target)
                                  ? ReadFile(c.target)
                                  : std::string("(none)");
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ExportFailure,
    ::testing::Values(FailureCase{"AFolder", "held.csv", [] { fs::create_directory("held.csv"); },
                                  "Is a directory"},
                      // Nobody reads it: writing into it must not freeze the window.
                      FailureCase{"AFifo", "held.csv", [] { ::mkfifo("held.csv", 0600); },
                                  "it is not a file"},
                      FailureCase{"InsideAFileNotAFolder", "notes.txt/held.csv",
                                  [] { WriteFile("notes.txt", "notes"); }, "Not a directory"},
                      FailureCase{"DiskFullOverAnEarlierExport", "held.csv",
                                  [] {
                                      WriteFile("held.csv", "earlier export\r\n");
                                      FailNextFileAfter(20);
                                  },
                                  "No space left on device"},
                      FailureCase{"TheBooklist", "Booklist.tul", [] {},
                                  "\"Booklist.tul\" is one of Tallyleaf's own data files"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
