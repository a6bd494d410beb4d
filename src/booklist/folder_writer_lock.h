#pragma once
#include <string>

#include "base/file_lock.h"
#include "booklist/data_folder.h"

// One writer at a time in a data folder: a comparison, a take-back, an import or an update holds
// this for its whole run. A second one waits for the first a few seconds, then gives up and
// changes nothing; readers (export, print, review) take no lock.
class FolderWriterLock {
  public:
    enum class Wait { AFewSeconds, None };
    explicit FolderWriterLock(const DataFolder& folder, Wait wait = Wait::AFewSeconds);
    bool Held() const { return lock_.Held(); }

  private:
    FileLock lock_;
};

// What the user is told when another run kept the folder.
std::string FolderBusyText(const DataFolder& folder);
