#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the program takes from its command line: at most one picture file, which a desktop's
// "open with" or a user at a shell names after the program.
namespace CommandLine {

// The first argument after the program's name, as an absolute clean path like the ones the
// open dialog gives (relative names are taken from the current folder); nothing when no
// argument or an empty one is given. Later arguments are not looked at.
std::optional<QString> pictureFile(const QStringList& arguments);

} // namespace CommandLine
