#pragma once
#include <sys/types.h>

#include <string>

// Another process holding the exclusive lock on a file, as a second copy of the program running
// in the same data folder would, until this object goes.
class LockHeldElsewhere {
  public:
    explicit LockHeldElsewhere(const std::string& path);
    ~LockHeldElsewhere();
    LockHeldElsewhere(const LockHeldElsewhere&) = delete;
    LockHeldElsewhere& operator=(const LockHeldElsewhere&) = delete;

    // False when the other process could not take the lock.
    bool Holding() const { return holding_; }

  private:
    pid_t child_ = -1;
    bool holding_ = false;
};
