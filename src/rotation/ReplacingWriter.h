#pragma once

#include <QString>
#include <functional>
#include <string>

class FileOperations;

// Writes a file whole under a name of its own beside `target`, then renames it over
// `target`: the target is never missing nor half written, and a failure leaves it exactly
// as it was, with no stray file. `write` is given the name to write to. A folder that takes
// no new file, or a rename that fails, raises the file-creation error naming `target`.
void writeReplacing(FileOperations& files, const QString& target,
                    const std::function<void(const std::string& fileName)>& write);
