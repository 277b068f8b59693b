#include "platform/PosixProcessLauncher.h"

#include <QFile>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

class ChildProcess : public LaunchedProcess {
public:
    explicit ChildProcess(pid_t pid)
        : pid_(pid), pidfd_(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0))) {}

    ~ChildProcess() override {
        if (!ended_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (pidfd_ >= 0) {
            ::close(pidfd_);
        }
    }

    bool waitForEnd(int milliseconds) override {
        if (!ended_ && pidfd_ >= 0) {
            pollfd ready{pidfd_, POLLIN, 0};
            ::poll(&ready, 1, milliseconds);
        } else if (!ended_) {
            ::usleep(static_cast<useconds_t>(milliseconds) * 1000); // kernels before 5.3
        }
        return reap();
    }

private:
    bool reap() {
        if (!ended_ && ::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            ended_ = true;
        }
        return ended_;
    }

    pid_t pid_;
    int pidfd_;
    bool ended_ = false;
};

// The child writes nowhere: its messages would only land in the terminal the program
// happened to be started from.
class QuietSpawn {
public:
    QuietSpawn() {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        ::posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_addopen(&actions_, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    ~QuietSpawn() { ::posix_spawn_file_actions_destroy(&actions_); }
    QuietSpawn(const QuietSpawn&) = delete;
    QuietSpawn& operator=(const QuietSpawn&) = delete;

    const posix_spawn_file_actions_t* actions() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

} // namespace

std::unique_ptr<LaunchedProcess> PosixProcessLauncher::start(const QString& program,
                                                             const QStringList& arguments) {
    const QByteArray file = QFile::encodeName(program);
    std::vector<QByteArray> encoded{file};
    for (const QString& argument : arguments) {
        encoded.push_back(QFile::encodeName(argument));
    }
    std::vector<char*> argv;
    for (QByteArray& argument : encoded) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const QuietSpawn spawn;
    pid_t pid = 0;
    if (::posix_spawn(&pid, file.constData(), spawn.actions(), nullptr, argv.data(), environ) !=
        0) {
        return nullptr;
    }
    return std::make_unique<ChildProcess>(pid);
}
