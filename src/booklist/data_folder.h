#pragma once
#include <string>
#include <string_view>

// The folder the program keeps its files in, and the name of each of them. Procedures are handed
// the folder and name every file through it, wherever the program was started from: the desktop
// decides the folder at start-up, the command line takes it from --dir.

inline constexpr const char* BooklistFileName = "Booklist.tul";
inline constexpr const char* MatchesFileName = "Matches.tul";
inline constexpr const char* VersionFileName = "TULVersion.txt";
inline constexpr const char* OutputFileName = "OUTPUT.MRC";
// How each record of the last comparison was matched, for the librarian to check.
inline constexpr const char* MatchReviewFileName = "MatchReview.txt";
// The server update's copies of what it fetched, and the new-books list.
inline constexpr const char* VersionCopyName = "V.txt";
inline constexpr const char* BooklistCopyName = "TULBookList.txt";
inline constexpr const char* NewBooksFileName = "TULNewBooks.txt";
// The first line names the programme's server, for a school's own mirror.
inline constexpr const char* ServerFileName = "Server.txt";
inline constexpr const char* ManualFileName = "Tallyleaf.pdf";
// Locked by every run that writes the booklist or the results, so that one writes at a time.
inline constexpr const char* LockFileName = ".tallyleaf.lock";
// The librarian's settings, and the booklist lines an import turned away.
inline constexpr const char* SettingsFileName = "Settings.txt";
inline constexpr const char* RejectedFileName = "Rejected.tul";

class DataFolder {
  public:
    // `folder` is made absolute once, here, so that every path the program shows names the file
    // wherever it was started. The manual lies in `manualFolder`, or in the data folder itself
    // when that is empty.
    explicit DataFolder(const std::string& folder, const std::string& manualFolder = {});

    const std::string& Path() const { return folder_; }
    // The file `name` in the folder.
    std::string File(std::string_view name) const;

    std::string Booklist() const { return File(BooklistFileName); }
    std::string Matches() const { return File(MatchesFileName); }
    std::string Version() const { return File(VersionFileName); }
    std::string Output() const { return File(OutputFileName); }
    std::string MatchReview() const { return File(MatchReviewFileName); }
    std::string VersionCopy() const { return File(VersionCopyName); }
    std::string BooklistCopy() const { return File(BooklistCopyName); }
    std::string NewBooks() const { return File(NewBooksFileName); }
    std::string Server() const { return File(ServerFileName); }
    std::string Lock() const { return File(LockFileName); }
    const std::string& Manual() const { return manual_; }

  private:
    std::string folder_;
    std::string manual_;
};
