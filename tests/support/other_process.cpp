#include "support/other_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

LockHeldElsewhere::LockHeldElsewhere(const std::string& path) {
    int ready[2];
    if (::pipe(ready) != 0) return;
    child_ = ::fork();
    if (child_ == 0) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        const char held = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
        [[maybe_unused]] const ssize_t told = ::write(ready[1], &held, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char held = 'n';
    if (child_ > 0 && ::read(ready[0], &held, 1) == 1) holding_ = held == 'y';
    ::close(ready[0]);
}

LockHeldElsewhere::~LockHeldElsewhere() {
    if (child_ <= 0) return;
    ::kill(child_, SIGKILL);
    ::waitpid(child_, nullptr, 0);
}

pid_t StartCommand(const std::vector<std::string>& argv) {
    std::vector<char*> arguments;
    for (const std::string& argument : argv)
        arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execv(arguments[0], arguments.data());
        ::_exit(127);
    }
    return child;
}

int FinishCommand(pid_t process) {
    int status = 0;
    if (process <= 0 || ::waitpid(process, &status, 0) != process) return -1;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

int RunKilledAfter(const std::vector<std::string>& argv, std::chrono::microseconds delay) {
    const pid_t process = StartCommand(argv);
    std::this_thread::sleep_for(delay);
    // A process that has ended stays until it is waited for, so the number names no other.
    if (process > 0) ::kill(process, SIGKILL);
    return FinishCommand(process);
}
