#include <QApplication>
#include <QFileDialog>
#include <QStringList>

#include "platform/qt/display_text.h"
#include "platform/qt/file_dialog.h"

namespace {

// "MARC data file | *.MRC | All Files | * ||" as Qt name filters. File names are compared with
// regard to case on most systems here, so each pattern is offered in small letters too. In filter
// texts "*.*" stands for every file; Qt would take it literally and hide every name without a dot.
QStringList NameFilters(const std::string& filter) {
    QStringList items;
    std::size_t start = 0;
    for (std::size_t bar = filter.find('|'); bar != std::string::npos;
         start = bar + 1, bar = filter.find('|', start)) {
        items << ToDisplay(filter.substr(start, bar - start)).trimmed();
    }
    QStringList filters;
    for (int i = 0; i + 1 < items.size(); i += 2) {
        if (items[i].isEmpty() && items[i + 1].isEmpty()) break;
        QStringList patterns = items[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
        }
        for (const QString& pattern : QStringList(patterns)) {
            if (pattern.toLower() != pattern) patterns << pattern.toLower();
        }
        // A description that names its patterns already ("Text files (*.txt)") names them once.
        QString description = items[i];
        if (description.endsWith(')') && description.contains('(')) {
            description.truncate(description.lastIndexOf('('));
            description = description.trimmed();
        }
        filters << description + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

// Both forms take the name as the user picked or typed it, with no default extension added: an
// existing "catalogue" must not become "catalogue.MRC", and an export goes where the user said.
struct FileDialogRequest {
    std::string title;
    std::string defaultName;
    std::string filter;
    bool save = false;  // a file to be written rather than one to open
    std::string startFolder;
};

std::string RunFileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), ToDisplay(request.title));
    if (request.save) {
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
    }
    if (!request.startFolder.empty()) dialog.setDirectory(PathToDisplay(request.startFolder));
    dialog.setSizeGripEnabled(true);
    dialog.setNameFilters(NameFilters(request.filter));
    dialog.selectFile(PathToDisplay(request.defaultName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return PathFromDisplay(dialog.selectedFiles().constFirst());
}

}  // namespace

std::string ChooseFile(const std::string& title, const std::string& defaultName,
                       const std::string& /*defaultExtension*/, const std::string& filter,
                       const std::string& startFolder) {
    return RunFileDialog({title, defaultName, filter, false, startFolder});
}

std::string ChooseSaveFile(const std::string& title, const std::string& defaultName,
                           const std::string& /*defaultExtension*/, const std::string& filter,
                           const std::string& startFolder) {
    return RunFileDialog({title, defaultName, filter, true, startFolder});
}
