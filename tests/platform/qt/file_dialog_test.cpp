// The real file dialog, in both forms, as the commands that ask for a file rely on it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <ostream>

#include "platform/dialogs.h"
#include "platform/qt/controls.h"
#include "platform/qt/file_dialog.h"
#include "support/gui/gui_helpers.h"
#include "support/test_folder.h"

namespace {

struct Seen {
    QString title;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    QFileDialog::AcceptMode accept = QFileDialog::AcceptOpen;
    bool asksBeforeReplacing = true;
    QStringList filters;
    QString selectedFilter;
    QString proposed;
    QWidget* owner = nullptr;
};

struct Case {
    bool save;
    const char* title;
    const char* defaultName;
    const char* extension;
    const char* filter;
    const char* answer;  // typed into the name box; an existing file
    QFileDialog::FileMode mode;
    QStringList filters;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.title;
}

class FileDialogTest : public ::testing::TestWithParam<Case> {
  protected:
    TestFolder folder;
};

TEST_P(FileDialogTest, OffersTheFiltersAndProposedNameAndTakesTheNameAsTyped) {
    const Case& c = GetParam();
    WriteFile(c.answer, "bytes");
    ASSERT_TRUE(OpenMainWindow(1, "", 3, 960, 650));
    QWidget* main = WindowById(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == main; }, 5000));

    Seen seen;
    const QString typed = QString::fromStdString((folder.Path() / c.answer).string());
    WhenShown(VisibleModal<QFileDialog>, [&seen, typed](QWidget* window) {
        auto* dialog = static_cast<QFileDialog*>(window);
        seen.title = dialog->windowTitle();
        seen.mode = dialog->fileMode();
        seen.accept = dialog->acceptMode();
        seen.asksBeforeReplacing = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        seen.filters = dialog->nameFilters();
        seen.selectedFilter = dialog->selectedNameFilter();
        if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit"))
            seen.proposed = name->text();
        seen.owner = dialog->parentWidget();
        // A question about replacing the file would block here: the dialog is given up instead.
        if (seen.accept == QFileDialog::AcceptSave && seen.asksBeforeReplacing) {
            dialog->reject();
            return;
        }
        dialog->selectFile(typed);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    const auto before = std::filesystem::current_path();
    const std::string chosen =
        c.save ? ChooseSaveFile(c.title, c.defaultName, c.extension, c.filter, {})
               : ChooseFile(c.title, c.defaultName, c.extension, c.filter, {});

    EXPECT_EQ(seen.title, c.title);
    EXPECT_EQ(seen.mode, c.mode);
    EXPECT_EQ(seen.accept, c.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (c.save) {
        EXPECT_FALSE(seen.asksBeforeReplacing);
    }
    EXPECT_EQ(seen.filters, c.filters);
    EXPECT_EQ(seen.selectedFilter, c.filters.value(0));
    EXPECT_EQ(seen.proposed, c.defaultName);
    EXPECT_EQ(seen.owner, main);
    EXPECT_EQ(chosen, typed.toStdString());
    EXPECT_EQ(std::filesystem::current_path(), before);
}

// The catalogue chooser of the Compare command, which offers MARC files in either case and takes
// an existing name without a dot as it is. An export target's chooser: "*.*" stands for every file,
// an existing file is replaced without a question, and no extension is added.
INSTANTIATE_TEST_SUITE_P(
    Forms, FileDialogTest,
    ::testing::Values(
        Case{false,
             "Open file",
             "*.MRC",
             "MRC",
             "MARC data file | *.MRC | All Files | * ||",
             "catalogue",
             QFileDialog::ExistingFile,
             {"MARC data file (*.MRC *.mrc)", "All Files (*)"}},
        Case{true,
             "Export list",
             "tullist.csv",
             "csv",
             "Comma-separated text files (*.csv)|*.csv|Text files (*.txt)|*.txt|All Files "
             "(*.*)|*.*||",
             "held list",
             QFileDialog::AnyFile,
             {"Comma-separated text files (*.csv)", "Text files (*.txt)", "All Files (*)"}}),
    [](const auto& info) { return std::string(info.param.save ? "Save" : "Open"); });

}  // namespace
