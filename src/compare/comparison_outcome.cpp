#include "compare/comparison_outcome.h"

#include "base/text.h"
#include "booklist/folder_writer_lock.h"

namespace {

std::string Plural(std::int64_t count, const char* one, const char* many) {
    return FormatThousands(count) + (count == 1 ? one : many);
}

// The closing message of a run that read the catalogue; whether it ended without a fault.
std::string RunOutcomeText(const DataFolder& folder, const ComparisonResult& result, bool& clean) {
    const std::string output = folder.Output();
    std::string text;
    if (result.outputCreated) {
        text = "Tagged library items are in the file\r\n" + output;
    } else {
        text = "The tagged library items could not be written: the file\r\n" + output +
               "\r\ncould not be created or written (" + result.outputFailure + ").";
    }
    // The progress window's counts, kept for the user once it has closed.
    if (result.cancelled) text += "\r\nThe comparison was cancelled.";
    text += "\r\n" + Plural(result.recordsRead, " record read", " records read") + ", " +
            Plural(result.matches, " match", " matches") + ".";
    if (result.brokenAtLine > 0) {
        text += "\r\nThe catalogue stops being well-formed XML at line " +
                std::to_string(result.brokenAtLine) + ": only the records before it were compared.";
    }
    if (result.notWritten > 0) {
        text += "\r\n" + Plural(result.notWritten, " matched record was", " matched records were") +
                " too long to write and " + (result.notWritten == 1 ? "is" : "are") +
                " not in the file.";
    }
    if (result.malformed > 0) {
        text += "\r\n" + Plural(result.malformed, " matched record was", " matched records were") +
                " too damaged to write and " + (result.malformed == 1 ? "is" : "are") +
                " not in the file.";
    }
    if (!result.matchesSaved) {
        text += "\r\nThe matches could not be saved to " + folder.Matches() + " (" +
                result.matchesFailure + ").";
    }
    if (!result.reviewSaved) {
        text += "\r\nThe match review could not be saved to " + folder.MatchReview() + " (" +
                result.reviewFailure + ").";
    }
    clean = result.outputCreated && result.matchesSaved && result.reviewSaved &&
            result.notWritten == 0 && result.malformed == 0 && result.brokenAtLine == 0;
    return text;
}

}  // namespace

void ShowComparisonOutcome(const DataFolder& folder, const ComparisonResult& result,
                           Services& services) {
    std::string text;
    bool clean = false;
    if (result.folderBusy) {
        text = FolderBusyText(folder);
    } else if (!result.specialFile.empty()) {
        text = "The file\r\n" + result.specialFile +
               "\r\nis not a regular file, so the results cannot be written. Nothing was changed.";
    } else if (!result.catalogueOpened) {
        text = "The library catalogue file\r\n" + result.catalogue + "\r\ncould not be opened.";
    } else if (!result.holdsRecords) {
        text = "The file\r\n" + result.catalogue +
               "\r\nholds no MARC records. The earlier results were kept.";
    } else {
        text = RunOutcomeText(folder, result, clean);
    }
    services.ShowMessage("Compare", text, MessageButtons::Ok,
                         clean ? MessageIcon::Information : MessageIcon::Exclamation);
}
