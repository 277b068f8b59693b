#pragma once

#include <QString>
#include <QStringList>
#include <sys/types.h>

// The real program, started with arguments, its streams kept.
struct BatchProgram {
    int status = -1; // the exit status, or 128 + the signal that ended it
    QString out;
    QString err;

    // Runs `trevano` with `arguments` and waits for it; its streams go through files in
    // the folder `streams`.
    static BatchProgram run(const QStringList& arguments, const QString& streams);
    // Starts it and returns at once; `finish` waits for it.
    static pid_t start(const QStringList& arguments, const QString& streams);
    static BatchProgram finish(pid_t pid, const QString& streams);
};
