#include "maintenance/booklist_import.h"

#include <cstdio>

#include "booklist/booklist.h"
#include "booklist/folder_writer_lock.h"
#include "maintenance/booklist_copy.h"

bool ImportBooklist(Booklist& booklist, const DataFolder& folder, Services& services) {
    // A booklist handed on from another library is most often its "Booklist.tul".
    const std::string chosen =
        services.ChooseFile("Import booklist", "*.tul", "tul",
                            "Booklist files|*.tul|Text files|*.tsv;*.txt|All files|*.*|");
    if (chosen.empty()) return false;
    const FolderWriterLock lock(folder);
    if (!lock.Held()) {
        services.ShowMessage("Import booklist", FolderBusyText(folder), MessageButtons::Ok,
                             MessageIcon::Exclamation);
        return false;
    }
    const FileWriteResult copied = ReplaceBooklistWith(folder, chosen);
    if (!copied) {
        services.ShowMessage("Import booklist",
                             "Could not import " + chosen + ": " + copied.reason +
                                 ".\r\nThe booklist was not changed.",
                             MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    // The match results belong to the old list.
    std::remove(folder.Matches().c_str());
    std::remove(folder.MatchReview().c_str());
    std::optional<Booklist> loaded = ReadBooklist(folder, services);
    if (!loaded) return false;
    booklist = std::move(*loaded);
    return true;
}
