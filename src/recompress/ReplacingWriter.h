#pragma once

#include <QString>
#include <functional>
#include <string>

class FileOperations;

// Writes a file whole out of sight beside `target`, then puts it over `target` in one step:
// the target is never missing nor half written, and a failure, or a kill in the middle,
// leaves it exactly as it was, with no stray file. `write` is given the name to write
// through. A folder that takes no new file, or a replacement that fails, raises the
// file-creation error naming `target`.
void writeReplacing(FileOperations& files, const QString& target,
                    const std::function<void(const std::string& fileName)>& write);
