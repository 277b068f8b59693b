#pragma once

#include "platform/ProcessLauncher.h"

// Starts programs as child processes with no terminal output; a child still running when
// its handle goes is stopped, so no process outlives the operation that started it.
class PosixProcessLauncher : public ProcessLauncher {
public:
    std::unique_ptr<LaunchedProcess> start(const QString& program,
                                           const QStringList& arguments) override;
};
