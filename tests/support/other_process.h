#pragma once
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

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

// Another copy of the program: `argv` run as a process of its own, its output thrown away.
pid_t StartCommand(const std::vector<std::string>& argv);
// Waits for a command started so; its exit status, or 128 + the signal that ended it.
int FinishCommand(pid_t process);

// Runs `argv` and kills it with SIGKILL after `delay`, as a crash or a power cut would, unless it
// has ended by then. The exit status, or 128 + 9 when it was killed.
int RunKilledAfter(const std::vector<std::string>& argv, std::chrono::microseconds delay);
