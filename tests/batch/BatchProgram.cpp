#include "BatchProgram.h"

#include <QFile>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

QString contents(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

pid_t BatchProgram::start(const QStringList& arguments, const QString& streams) {
    std::vector<QByteArray> encoded{TREVANO_PROGRAM};
    for (const QString& argument : arguments) {
        encoded.push_back(QFile::encodeName(argument));
    }
    std::vector<char*> argv;
    for (QByteArray& argument : encoded) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray out = QFile::encodeName(streams + "/out");
    const QByteArray err = QFile::encodeName(streams + "/err");
    posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = -1;
    posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

BatchProgram BatchProgram::finish(pid_t pid, const QString& streams) {
    BatchProgram program;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid) {
        program.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    program.out = contents(streams + "/out");
    program.err = contents(streams + "/err");
    QFile::remove(streams + "/out");
    QFile::remove(streams + "/err");
    return program;
}

BatchProgram BatchProgram::run(const QStringList& arguments, const QString& streams) {
    return finish(start(arguments, streams), streams);
}
