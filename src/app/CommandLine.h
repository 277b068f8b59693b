#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>

// What the program is asked to do by its command line: open the window, on a picture when one
// is named (a desktop's "open with" or a user at a shell names it after the program), or print
// its usage or its version. Qt's own options (-platform, -style, ...) are accepted here and
// left in the arguments for the application object, which takes them. A new way of running the
// program is one more option in `declareOptions` and one more request.
class CommandLine {
public:
    enum class Request { OpenWindow, ShowHelp, ShowVersion, RunBatch, Mistake };

    explicit CommandLine(const QStringList& arguments);

    Request request() const { return request_; }
    // The first file named, as an absolute clean path like the ones the open dialog gives
    // (relative names are taken from the current folder); nothing when no file or an empty
    // name is given. Later files are not looked at.
    std::optional<QString> pictureFile() const;
    // Whether the user chose Qt's platform with -platform.
    bool platformChosen() const;

    QString helpText() const;
    // "Trevano 2.0"
    static QString versionText();
    // The reason a command line was refused, and where to read the usage.
    QString mistakeText() const;
    // What the batch mode is asked for, once the request is RunBatch.
    const QCommandLineParser& parser() const { return parser_; }

    // The picture named by `arguments`, the program's name first.
    static std::optional<QString> pictureFile(const QStringList& arguments);

private:
    void declareOptions();
    void declareQtOptions();

    QCommandLineParser parser_;
    Request request_ = Request::OpenWindow;
    QString mistake_; // a mistake of the program's own, beside the parser's
};
