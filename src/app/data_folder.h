#pragma once
#include <string>

// Where the program keeps its data files and finds its manual. A copy run from a build tree or a
// folder of its own works in the folder of its executable. An installed copy (the executable in a
// "bin" folder with "../share/tallyleaf" beside it) cannot write there as a user, so it works in
// the user's data folder, "$XDG_DATA_HOME/tallyleaf" or "~/.local/share/tallyleaf".
struct DataFolders {
    std::string work;            // the data folder: booklist, matches, output, downloads
    std::string manual;          // the full path of "Tallyleaf.pdf"
    std::string installedShare;  // "…/share/tallyleaf" of an installed copy, else empty
};

// Decides from the executable's folder and the environment's XDG_DATA_HOME and HOME (either may
// be null or empty); looks at the file system but changes nothing.
DataFolders ChooseDataFolders(const std::string& executableFolder, const char* xdgDataHome,
                              const char* home);

// Creates an installed copy's data folder on first start, with the installed "TULVersion.txt"
// copied into it when it has none. False when the folder cannot be made.
bool PrepareDataFolder(const DataFolders& folders);
