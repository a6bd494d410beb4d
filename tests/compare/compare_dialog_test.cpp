// The Compare command on Qt's offscreen platform: the real dialog, file chooser, progress window
// and message box, driven by a script that acts whenever the next window is up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

#include "app/booklist.h"
#include "app/desktop/book_list_view.h"
#include "app/desktop/main_window.h"
#include "app/desktop/main_window_ids.h"
#include "compare/desktop/compare_dialog.h"
#include "compare/marc_text.h"
#include "gui/gui_helpers.h"
#include "platform/qt/controls.h"
#include "platform/qt/program_window.h"
#include "support/test_folder.h"

namespace {

// Steps run one after another from a timer while the program waits in its own loops; a step
// returns false until the window it needs is there.
class Script {
  public:
    Script() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (!steps_.empty() && steps_.front()()) steps_.pop_front();
        });
        timer_.start(2);
    }
    void Then(std::function<bool()> step) { steps_.push_back(std::move(step)); }
    bool Done() const { return steps_.empty(); }

  private:
    QTimer timer_;
    std::deque<std::function<bool()>> steps_;
};

// The dialog once it is up and active: keys reach its shortcuts only then, as a user's would.
QWidget* CompareDialog() {
    QWidget* dialog = WindowById(CompareDialogNumber);
    const bool ready = dialog && dialog->isVisible() && QApplication::activeWindow() == dialog;
    return ready ? dialog : nullptr;
}

QCheckBox* Box(int control) {
    return ControlAs<QCheckBox>(CompareDialogNumber, control);
}

template <typename T>
T* Modal() {
    auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
    return widget && widget->isVisible() ? widget : nullptr;
}

QWidget* ProgressWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->findChild<QProgressBar*>()) return widget;
    }
    return nullptr;
}

// Picks `path` in the open-file dialog, or cancels it when `path` is empty.
std::function<bool()> ChooseInFileDialog(const QString& path, QStringList* filters = nullptr) {
    return [path, filters] {
        QFileDialog* dialog = Modal<QFileDialog>();
        if (!dialog) return false;
        if (filters) *filters = dialog->nameFilters();
        if (path.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(path);
            // Queued, as a click would be: a box the chooser raises is then answered by the
            // next step instead of waiting inside this one.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
        return true;
    };
}

std::function<bool()> AnswerMessage(std::string* text) {
    return [text] {
        QMessageBox* box = Modal<QMessageBox>();
        if (!box) return false;
        *text = FromDisplay(box->text());
        box->defaultButton()->click();
        return true;
    };
}

std::string Record(const std::string& id, const std::string& author, const std::string& title) {
    return "001 " + id + "\n082 04$a8" + id + "\n100 1 $a" + author + "\n245 10$a" + title + "\n\n";
}

class CompareDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgramState();
        WriteFile("Booklist.tul",
                  BooklistLine(1, "Holes", "Sachar, Louis", "N", "Adventure", "Mature", "Book") +
                      BooklistLine(2, "Wonder", "Palacio, R. J.", "N", "School",
                                   "Early Years (R-2)", "Book") +
                      BooklistLine(3, "Matilda", "Dahl, Roald", "N", "Humour",
                                   "Primary Years (3-5)", "Book"));
        WriteFile("Matches.tul", "3,823 DAH\r\n");
        WriteFile("catalogue.mrc", MarcFromText(Record("1", "Sachar, Louis.", "Holes /") +
                                                Record("2", "Palacio, R. J.", "Wonder")));
        StartMainWindow();
        SettleEvents();
    }
    void TearDown() override { ResetProgramState(); }

    static bool Matched(const char* id) { return LookupBookRecord(id).matched == 1; }
    QString Catalogue() const {
        return QString::fromStdString((folder.Path() / "catalogue.mrc").string());
    }

    TestFolder folder;
};

}  // namespace

TEST_F(CompareDialogTest, OptionsAreTickedEveryTimeAndCancelChangesNothing) {
    Script script;
    bool looked = false;
    script.Then([&] {
        QWidget* dialog = CompareDialog();
        if (!dialog) return false;
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
        Box(TagTitlesControl)->click();  // ticking does not end the dialog
        Box(TagSeriesControl)->click();
        looked = true;
        return true;
    });
    script.Then([&] {
        if (!CompareDialog()) return false;
        QTest::keyClick(CompareDialog(), Qt::Key_Escape);
        return true;
    });
    // The main window's Compare command (menu, button, F5) opens the dialog.
    EXPECT_TRUE(DispatchMainCommand({CompareCommand, EventClicked}));
    EXPECT_TRUE(looked);
    EXPECT_EQ(WindowStack(), "1");
    EXPECT_TRUE(WindowById(MainWindowNumber)->isEnabled());

    // Again: both boxes ticked afresh; the close box cancels too.
    script.Then([&] {
        if (!CompareDialog()) return false;
        EXPECT_TRUE(Box(TagTitlesControl)->isChecked());
        EXPECT_TRUE(Box(TagSeriesControl)->isChecked());
        CompareDialog()->close();
        return true;
    });
    ShowCompareDialog();
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(Matched("3"));
    EXPECT_FALSE(FileExists("OUTPUT.MRC"));
    EXPECT_EQ(ReadFile("Matches.tul"), "3,823 DAH\r\n");
}

TEST_F(CompareDialogTest, ReturnActsAsOkAndACancelledChooserEndsTheCommand) {
    Script script;
    QStringList filters;
    script.Then([&] {
        if (!CompareDialog()) return false;
        QTest::keyClick(CompareDialog(), Qt::Key_Return);
        return true;
    });
    script.Then([&] {
        QFileDialog* dialog = Modal<QFileDialog>();
        if (!dialog) return false;
        EXPECT_EQ(dialog->windowTitle(), "Open file");
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        return ChooseInFileDialog("", &filters)();
    });
    const std::string before = std::filesystem::current_path().string();
    ShowCompareDialog();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(filters, (QStringList{"MARC data file (*.MRC *.mrc)", "All Files (*)"}));
    EXPECT_EQ(std::filesystem::current_path().string(), before);
    EXPECT_TRUE(Matched("3"));
    EXPECT_FALSE(FileExists("OUTPUT.MRC"));
}

TEST_F(CompareDialogTest, ChooserProposesMrcAndTakesANameWithoutADot) {
    WriteFile("catalogue", ReadFile("catalogue.mrc"));
    Script script;
    QString proposed;
    std::string message;
    script.Then([&] {
        if (!CompareDialog()) return false;
        QTest::keyClick(CompareDialog(), Qt::Key_Return);
        return true;
    });
    script.Then([&] {
        QFileDialog* dialog = Modal<QFileDialog>();
        if (!dialog) return false;
        if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) proposed = name->text();
        return ChooseInFileDialog(QString::fromStdString((folder.Path() / "catalogue").string()))();
    });
    script.Then(AnswerMessage(&message));
    // A chooser that refused the name is given up, so that the command ends either way.
    script.Then([] {
        if (QFileDialog* dialog = Modal<QFileDialog>()) dialog->reject();
        return true;
    });
    ShowCompareDialog();

    EXPECT_EQ(proposed, "*.MRC");
    EXPECT_EQ(message.substr(0, message.find('\n') + 1), "Tagged library items are in the file\n");
    EXPECT_TRUE(Matched("1"));
    EXPECT_TRUE(Matched("2"));
}

TEST_F(CompareDialogTest, PathsInTheOutcomeShowAsTheFileSystemNamesThem) {
    const std::filesystem::path library = folder.Path() / "Biblioth\xC3\xA8que";
    std::filesystem::create_directory(library);
    std::filesystem::copy_file("catalogue.mrc", library / "catalogue.mrc");
    std::filesystem::current_path(library);
    Script script;
    QString message;
    script.Then([&] {
        if (!CompareDialog()) return false;
        QTest::keyClick(CompareDialog(), Qt::Key_Return);
        return true;
    });
    script.Then(ChooseInFileDialog(QFile::decodeName((library / "catalogue.mrc").c_str())));
    script.Then([&] {
        QMessageBox* box = Modal<QMessageBox>();
        if (!box) return false;
        message = box->text();
        box->defaultButton()->click();
        return true;
    });
    ShowCompareDialog();
    ASSERT_TRUE(script.Done());

    EXPECT_TRUE(Matched("1"));
    EXPECT_TRUE(FileExists(library / "OUTPUT.MRC"));
    EXPECT_TRUE(message.endsWith(QFile::decodeName((library / "OUTPUT.MRC").c_str())))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromUtf8("/Bibliothèque/"))) << message.toStdString();
}

TEST_F(CompareDialogTest, RunWithBothOptionsClearedWritesUntaggedAndRefreshesTheList) {
    Script script;
    std::string message;
    script.Then([&] {
        if (!CompareDialog()) return false;
        Box(TagTitlesControl)->click();
        Box(TagSeriesControl)->click();
        ControlAs<QPushButton>(CompareDialogNumber, CompareOkControl)->click();
        return true;
    });
    script.Then(ChooseInFileDialog(Catalogue()));
    script.Then(AnswerMessage(&message));
    ShowCompareDialog();
    ASSERT_TRUE(script.Done());

    EXPECT_TRUE(Matched("1"));
    EXPECT_TRUE(Matched("2"));
    EXPECT_FALSE(Matched("3"));
    EXPECT_EQ(ReadFile("OUTPUT.MRC"), ReadFile("catalogue.mrc"));  // untagged, unchanged
    EXPECT_EQ(message.substr(0, message.find('\n') + 1), "Tagged library items are in the file\n");
    QWidget* main = WindowById(MainWindowNumber);
    EXPECT_TRUE(main->isEnabled());
    SettleEvents();
    EXPECT_EQ(QApplication::activeWindow(), main);
    // The list shows the run's call numbers.
    bool shown = false;
    for (int row = 0; row < BookListRowCount(); ++row) {
        for (int column = 0; column < 8; ++column)
            shown |= BookListCell(row, column) == "82";
    }
    EXPECT_TRUE(shown);
}

TEST_F(CompareDialogTest, CancelInTheProgressWindowKeepsAndSavesTheMatchesSoFar) {
    std::string text;
    for (int i = 0; i < 200000; ++i) {
        text += Record(std::to_string(i % 2 + 1), i % 2 ? "Palacio, R. J." : "Sachar, Louis.",
                       i % 2 ? "Wonder" : "Holes");
    }
    WriteFile("catalogue.mrc", MarcFromText(text));
    Script script;
    std::string message;
    script.Then([&] {
        if (!CompareDialog()) return false;
        QTest::keyClick(CompareDialog(), Qt::Key_Return);
        return true;
    });
    script.Then(ChooseInFileDialog(Catalogue()));
    script.Then([&] {
        QWidget* progress = ProgressWindow();
        if (progress) QTest::keyClick(progress, Qt::Key_Escape);
        // A run that ended first fails the counts below instead of waiting here.
        return progress || Modal<QMessageBox>();
    });
    script.Then(AnswerMessage(&message));
    ShowCompareDialog();
    ASSERT_TRUE(script.Done());

    const std::string output = ReadFile("OUTPUT.MRC");
    const auto written = std::count(output.begin(), output.end(), '\x1D');
    EXPECT_GT(written, 0);
    EXPECT_LT(written, 200000);
    EXPECT_TRUE(Matched("1"));
    EXPECT_FALSE(Matched("3"));
    const std::string saved = ReadFile("Matches.tul");
    EXPECT_NE(saved.find("1,81\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("3,"), std::string::npos);
    EXPECT_EQ(IndependentReaderFaults("OUTPUT.MRC"), "");
}
