#include "app/CommandLine.h"

#include "batch/BatchCommandLine.h"
#include "ui/ApplicationTitle.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString PlatformOption = "platform";

} // namespace

CommandLine::CommandLine(const QStringList& arguments) {
    // Qt's options are single words after one dash: "-platform xcb", not "-p -l -a ...".
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    declareOptions();
    declareQtOptions();
    if (!parser_.parse(arguments)) {
        request_ = Request::Mistake;
    } else if (parser_.isSet("help")) {
        request_ = Request::ShowHelp;
    } else if (parser_.isSet("version")) {
        request_ = Request::ShowVersion;
    } else if (BatchCommandLine::requested(parser_)) {
        request_ = Request::RunBatch;
    } else if (const std::optional<QString> stray = BatchCommandLine::strayOption(parser_)) {
        request_ = Request::Mistake;
        mistake_ = *stray;
    }
}

void CommandLine::declareOptions() {
    parser_.setApplicationDescription(
        "Recompresses a BMP or JPEG picture as JPEG at the quality you choose, shows it beside "
        "the original with the size of the new file, saves it under a new name and turns it by "
        "steps of 90 degrees.");
    parser_.addOption({{"h", "help"}, "Shows this help and ends."});
    parser_.addOption({{"v", "version"}, "Shows the version and ends."});
    parser_.addPositionalArgument(
        "FILE",
        "A BMP or JPEG picture to load when the window opens; with --batch, the pictures "
        "and folders to recompress.",
        "[FILE|FOLDER...]");
    BatchCommandLine::declare(parser_);
}

void CommandLine::declareQtOptions() {
    // Taken by the application object from the same arguments; hidden, as Qt documents them.
    const char* const valued[] = {
        "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
        "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
        "style",       "stylesheet",         "qmljsdebugger"};
    const char* const flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char* name : valued) {
        QCommandLineOption option(name, QString(), "value");
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser_.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser_.addOption(option);
    }
}

std::optional<QString> CommandLine::pictureFile() const {
    const QStringList files = parser_.positionalArguments();
    if (files.isEmpty() || files.first().isEmpty()) {
        return std::nullopt;
    }
    // The window caption and the readouts show this path: no "./" or "../" in it.
    return QDir::cleanPath(QFileInfo(files.first()).absoluteFilePath());
}

bool CommandLine::platformChosen() const {
    return parser_.isSet(PlatformOption);
}

QString CommandLine::helpText() const {
    // Without an application object Qt has no name for the program in its usage line.
    QString text = parser_.helpText();
    return text.replace("<executable_name>", "trevano") + BatchCommandLine::helpEnding();
}

QString CommandLine::versionText() {
    return QString(ApplicationTitle) + " " + TREVANO_VERSION + "\n";
}

QString CommandLine::mistakeText() const {
    return BatchCommandLine::mistakeText(mistake_.isEmpty() ? parser_.errorText() : mistake_);
}

std::optional<QString> CommandLine::pictureFile(const QStringList& arguments) {
    return CommandLine(arguments).pictureFile();
}
