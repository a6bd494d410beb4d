#pragma once
#include <string>

// Where the program keeps its data files and finds its manual.
// - TALLYLEAF_DIR, when set, names the data folder of any copy: a shared or network folder that
//   the school's IT set up.
// - Otherwise an installed copy (the executable in a "bin" folder with "../share/tallyleaf" beside
//   it) works in "~/Tallyleaf", a folder the librarian sees and can find in every file dialog.
// - A copy run from a build tree or a folder of its own works in the folder of its executable.
struct DataFolders {
    std::string work;            // the data folder: booklist, matches, output, downloads
    std::string manual;          // the full path of "Tallyleaf.pdf"
    std::string installedShare;  // "…/share/tallyleaf" of an installed copy, else empty
    // The folder an earlier version of an installed copy worked in ("$XDG_DATA_HOME/tallyleaf" or
    // "~/.local/share/tallyleaf"), whose files move to "~/Tallyleaf" once; empty when none applies.
    std::string earlierWork;
    bool besideExecutable = false;  // a copy of its own in its own folder: nothing to prepare
};

// What the data folder is chosen from; any value may be null or empty.
struct FolderEnvironment {
    const char* tallyleafDir = nullptr;  // TALLYLEAF_DIR
    const char* home = nullptr;          // HOME
    const char* xdgDataHome = nullptr;   // XDG_DATA_HOME, for the earlier folder only
};

// Decides from the executable's folder and the environment; looks at the file system but changes
// nothing. An installed copy without TALLYLEAF_DIR or HOME gets an empty `work`.
DataFolders ChooseDataFolders(const std::string& executableFolder, const FolderEnvironment& env);

// Whether the data folder can be used, and why not when it cannot.
struct FolderCheck {
    bool usable = false;
    std::string reason;
    std::string work;    // the folder to work in this time
    std::string notice;  // what the user is to be told before the program goes on, or empty
    explicit operator bool() const { return usable; }
};

// Makes the data folder ready. On the first start of an installed copy the files of the earlier
// folder move into "~/Tallyleaf" when that holds a booklist, all of them or none: when they
// cannot, the earlier folder is used this time and `notice` says why; a folder that does not exist
// is created, and an installed copy's "TULVersion.txt" is copied into it when it has none or an
// empty one (a full disk may have cut the first copy). Not usable when the folder cannot be made,
// is no folder or cannot be written to: the program must then stop rather than work somewhere else.
FolderCheck PrepareDataFolder(const DataFolders& folders);
