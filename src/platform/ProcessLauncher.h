#pragma once

#include <QString>
#include <QStringList>
#include <memory>

// A program started beside this one, sharing nothing with it but files.
class LaunchedProcess {
public:
    virtual ~LaunchedProcess() = default;
    // Waits at most `milliseconds` for the program to end; true once it has ended.
    virtual bool waitForEnd(int milliseconds) = 0;
};

// Starts programs with an argument list, never through a shell.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Nothing when the program cannot be started.
    virtual std::unique_ptr<LaunchedProcess> start(const QString& program,
                                                   const QStringList& arguments) = 0;
};
