#include "maintenance/desktop/export_dialog.h"

#include <sys/stat.h>

#include <QCheckBox>
#include <QRadioButton>
#include <string>
#include <vector>

#include "base/text.h"
#include "maintenance/export_writer.h"
#include "platform/dialogs.h"
#include "platform/qt/controls.h"

namespace {

constexpr int DialogWidth = 320;
constexpr int DialogHeight = 480;

QRadioButton* Option(int control) {
    return ControlAs<QRadioButton>(ExportWindowNumber, control);
}

QCheckBox* FieldBox(int field) {
    return ControlAs<QCheckBox>(ExportWindowNumber, ExportFirstFieldControl + field);
}

void SetDefaults() {
    Option(ExportCommaOption)->setChecked(true);
    const ExportFieldSet defaults = DefaultExportFields();
    for (int field = 0; field < ExportFieldCount; ++field)
        FieldBox(field)->setChecked(defaults[field]);
}

void AddControls() {
    const int w = DialogWidth;
    const int h = DialogHeight;
    AddFrame(ExportWindowNumber, ExportFormatFrame, 12, 12, w - 24, 70, "Export format");
    AddOptionButton(ExportWindowNumber, ExportCommaOption, 22, 30, 200, 20,
                    "Export comma format (.csv)");
    AddOptionButton(ExportWindowNumber, ExportTabOption, 22, 50, 200, 20,
                    "Export tab format (.txt)");
    AddFrame(ExportWindowNumber, ExportFieldsFrame, 12, 100, w - 24, 270, "Fields to export");
    for (int field = 0; field < ExportFieldCount; ++field) {
        AddCheckBox(ExportWindowNumber, ExportFirstFieldControl + field, 22, 120 + 20 * field, 150,
                    20, std::string(ExportFields()[field].checkBoxText));
    }
    AddButton(ExportWindowNumber, ExportResetControl, w - 244, h - 29, 75, 22, "Reset");
    AddButton(ExportWindowNumber, ExportOkControl, w - 163, h - 29, 75, 22, "OK");
    AddButton(ExportWindowNumber, ExportCancelControl, w - 82, h - 29, 75, 22, "Cancel");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
        AddShortcut(ExportWindowNumber, QKeySequence(key), ExportOkControl);
    AddShortcut(ExportWindowNumber, QKeySequence(Qt::Key_Escape), ExportCancelControl);
}

struct TargetChoice {
    const char* proposedName;
    const char* extension;
    const char* filter;
};

// The format chosen comes first in the file dialog, so that its files are the ones listed.
TargetChoice ChoiceFor(ExportFormat format) {
    if (format == ExportFormat::Tab) {
        return {"tullist.txt", "txt",
                "Text files (*.txt)|*.txt|Comma-separated text files (*.csv)|*.csv|All Files "
                "(*.*)|*.*||"};
    }
    return {"tullist.csv", "csv",
            "Comma-separated text files (*.csv)|*.csv|Text files (*.txt)|*.txt|All Files "
            "(*.*)|*.*||"};
}

// Asks for the target file and writes the books with these ids, in this order. A cancelled or too
// short name writes nothing; an existing file is replaced only when the user says so. The user is
// told where the list went, or why it was not written.
void ExportToChosenFile(const Booklist& booklist, const DataFolder& folder, ExportFormat format,
                        const ExportFieldSet& fields, const std::vector<std::string>& rowIds,
                        Services& services) {
    const TargetChoice choice = ChoiceFor(format);
    std::string path;
    for (;;) {
        path = services.ChooseSaveFile("Export list", choice.proposedName, choice.extension,
                                       choice.filter);
        if (path.size() < 3) return;
        // The file dialog takes an existing file without a question; a "No" asks for another.
        struct stat existing {};
        if (::stat(path.c_str(), &existing) != 0 || !S_ISREG(existing.st_mode) ||
            !OwnDataFileRefusal(folder, path).empty())
            break;
        if (services.ShowMessage(
                "Export", "The file\r\n" + path + "\r\nalready exists. Replace it?",
                MessageButtons::YesNo, MessageIcon::Question, 2) == MessageAnswer::Yes)
            break;
    }
    // Writing into a FIFO would wait for a reader with the window frozen; a device is no list.
    // (The command line still writes to a pipe, where that is what its user asked for.)
    struct stat status {};
    const bool special =
        ::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
    const FileWriteResult written =
        special ? FileWriteResult{false, "it is not a file"}
                : WriteExportFile(booklist, folder, path, format, fields, rowIds);
    if (written) {
        // Where the list went, so that the user can find it.
        const std::string books = rowIds.size() == 1 ? " book" : " books";
        services.ShowMessage("Export",
                             FormatThousands(static_cast<std::int64_t>(rowIds.size())) + books +
                                 " written to " + path,
                             MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    // The path has a line of its own, as message texts keep paths apart from other wording.
    services.ShowMessage(
        "Export", "The list was not written to the file\r\n" + path + "\r\n" + written.reason + ".",
        MessageButtons::Ok, MessageIcon::Exclamation);
}

void WriteChosenExport(const Booklist& booklist, const DataFolder& folder,
                       const std::vector<std::string>& rowIds, Services& services) {
    ExportFieldSet fields{};
    for (int field = 0; field < ExportFieldCount; ++field)
        fields[field] = FieldBox(field)->isChecked();
    const ExportFormat format =
        Option(ExportTabOption)->isChecked() ? ExportFormat::Tab : ExportFormat::Comma;
    ExportToChosenFile(booklist, folder, format, fields, rowIds, services);
}

}  // namespace

void ExportList(const Booklist& booklist, const DataFolder& folder,
                const std::vector<std::string>& rowIds, Services& services) {
    if (rowIds.empty()) return;
    if (!OpenDialogWindow(ExportWindowNumber, "Export List", DialogWidth, DialogHeight, "")) return;
    AddControls();
    SetDefaults();

    for (;;) {
        const int command = WaitDialogEvent().command;
        if (command == ExportOkControl) {
            WriteChosenExport(booklist, folder, rowIds, services);
            break;
        }
        if (command == ExportCancelControl || command == CloseBoxCommand) break;
        if (command == ExportResetControl) SetDefaults();
    }
    CloseDialogWindow();
}
