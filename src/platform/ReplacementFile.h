#pragma once

#include <QString>

// A file written whole out of sight, then put in the place of its target in one step. Until
// then the target keeps its old bytes, and a file that is never put in place leaves nothing
// behind, also when the program is killed while writing it (where the file system holds
// files without a name; elsewhere a hidden named file stands in, removed on every way out
// but a kill).
class ReplacementFile {
public:
    virtual ~ReplacementFile() = default;

    // The name to write the new content through.
    virtual QString writableName() const = 0;
    // Puts the written file in the target's place, with the target's permissions when it
    // had one; false leaves the target as it was.
    virtual bool commit() = 0;
};
