#pragma once

#include "batch/BatchOptions.h"

#include <QCommandLineParser>
#include <optional>
#include <variant>

// The batch mode's options on the program's command line: declared on the program's parser,
// so `trevano --help` lists them, then read back once it has parsed the arguments.
class BatchCommandLine {
public:
    static void declare(QCommandLineParser& parser);
    // Whether the arguments ask for the batch mode.
    static bool requested(const QCommandLineParser& parser);
    // The options, or what is wrong with them, in a sentence.
    static std::variant<BatchOptions, QString> read(const QCommandLineParser& parser);
    // A batch option given without --batch, if any.
    static std::optional<QString> strayOption(const QCommandLineParser& parser);

    // What the usage adds after the options: the exit statuses and examples.
    static QString helpEnding();
    // Every mistake in the command line, the window's or the batch's, is said the same way:
    // the program's name, the reason, and where to read the usage.
    static QString mistakeText(const QString& reason);

    // "200K", "1.5M", "2G" (1024 bytes a K) or a plain count of bytes.
    static std::optional<std::int64_t> bytes(const QString& text);
    // The suffix of the new files written beside their inputs.
    static constexpr const char* NameSuffix = "-recompressed";
};
