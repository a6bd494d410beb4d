#include "maintenance/booklist_import.h"

#include <cstdio>

#include "booklist/booklist.h"
#include "booklist/folder_writer_lock.h"
#include "maintenance/booklist_copy.h"

ImportResult ImportBooklistFile(Booklist& booklist, const DataFolder& folder,
                                const std::string& path, Services& services) {
    const FolderWriterLock lock(folder);
    if (!lock.Held()) return {false, true, {}};
    const FileWriteResult copied = ReplaceBooklistWith(folder, path);
    if (!copied) return {false, false, copied.reason};
    // The match results belong to the old list.
    std::remove(folder.Matches().c_str());
    std::remove(folder.MatchReview().c_str());
    std::optional<Booklist> loaded = ReadBooklist(folder, services);
    if (!loaded) return {false, false, "it could not be read again once copied"};
    booklist = std::move(*loaded);
    return {true, false, {}};
}

bool ImportBooklist(Booklist& booklist, const DataFolder& folder, Services& services) {
    // A booklist handed on from another library is most often its "Booklist.tul".
    const std::string chosen =
        services.ChooseFile("Import booklist", "*.tul", "tul",
                            "Booklist files|*.tul|Text files|*.tsv;*.txt|All files|*.*|");
    if (chosen.empty()) return false;
    const ImportResult imported = ImportBooklistFile(booklist, folder, chosen, services);
    if (!imported.done) {
        services.ShowMessage("Import booklist",
                             imported.folderBusy
                                 ? FolderBusyText(folder)
                                 : "Could not import " + chosen + ": " + imported.reason +
                                       ".\r\nThe booklist was not changed.",
                             MessageButtons::Ok, MessageIcon::Exclamation);
    }
    return imported.done;
}
