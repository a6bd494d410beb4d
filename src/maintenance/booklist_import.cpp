#include "maintenance/booklist_import.h"

#include <cstdio>

#include "booklist/booklist.h"
#include "maintenance/booklist_copy.h"
#include "booklist/matches.h"
#include "platform/file_dialog.h"
#include "platform/message.h"

bool ImportBooklist() {
    const std::string chosen =
        ChooseFile("Import booklist", "*.txt", "txt", "Text files|*.tsv;*.txt|All files|*.*|");
    if (chosen.empty()) return false;
    const FileWriteResult copied = ReplaceBooklistWith(chosen);
    if (!copied) {
        ShowMessage("Import booklist",
                    "Could not import " + chosen + ": " + copied.reason +
                        ".\r\nThe booklist was not changed.",
                    "OK", "!", 0);
        return false;
    }
    // The match results belong to the old list.
    std::remove(MatchesFileName);
    LoadBooklist();
    return true;
}
