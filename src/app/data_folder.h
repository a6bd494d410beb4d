#pragma once
#include <string>

// Where the program keeps its data files and finds its manual. A copy run from a build tree or a
// folder of its own works in the folder of its executable. An installed copy (the executable in a
// "bin" folder with "../share/tallyleaf" beside it) cannot write there as a user, so it works in
// the user's data folder, "$XDG_DATA_HOME/tallyleaf" or "~/.local/share/tallyleaf" (none, and
// `work` empty, when neither variable names a folder).
struct DataFolders {
    std::string work;            // the data folder: booklist, matches, output, downloads
    std::string manual;          // the full path of "Tallyleaf.pdf"
    std::string installedShare;  // "…/share/tallyleaf" of an installed copy, else empty
};

// Decides from the executable's folder and the environment's XDG_DATA_HOME and HOME (either may
// be null or empty); looks at the file system but changes nothing.
DataFolders ChooseDataFolders(const std::string& executableFolder, const char* xdgDataHome,
                              const char* home);

// Whether the data folder can be used, and why not when it cannot.
struct FolderCheck {
    bool usable = false;
    std::string reason;
    explicit operator bool() const { return usable; }
};

// Creates an installed copy's data folder on first start, with the installed "TULVersion.txt"
// copied into it when it has none or an empty one (a full disk may have cut the first copy).
// Not usable when the folder cannot be made, is no folder or cannot be written to: the program
// must then stop rather than work somewhere else.
FolderCheck PrepareDataFolder(const DataFolders& folders);
