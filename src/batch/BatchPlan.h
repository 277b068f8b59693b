#pragma once

#include "batch/BatchItem.h"
#include "batch/BatchOptions.h"

#include <variant>
#include <vector>

class FileOperations;

// The pictures a batch run works on, in the order named (a folder's sorted by path), each
// with the name of its new file and anything that forbids writing it: a new file never
// replaces a picture given, whatever name reaches it, nor another new file of the run, nor,
// without --overwrite, a file that exists.
class BatchPlan {
public:
    // The items, or the command line's mistake (a folder without --recursive).
    static std::variant<std::vector<BatchItem>, QString> make(const BatchOptions& options,
                                                              FileOperations& files);

    // Names a folder's pictures go by: .jpg, .jpeg and .bmp in any letter case. New files of
    // an earlier run, hidden files and hidden folders are passed over.
    static bool takenFromFolder(const QString& fileName);
};
