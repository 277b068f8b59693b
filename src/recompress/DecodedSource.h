#pragma once

#include "imaging/bmp/TBitmap.h"
#include "imaging/metadata/PictureMetadata.h"
#include "platform/FileIdentity.h"

#include <QString>
#include <optional>

class FileOperations;
class TJPEGImage;

// The loaded file as a recompression reads and decodes it, kept from one recompression to
// the next. The kept pixels stand for the file only while it is provably the same file in
// the same state (device, inode, size, and modification and change times to the
// nanosecond, checked every time); otherwise the file is read again, or its error raised,
// as on the first time. A picture shrunk to a longest side is kept beside its pixels, so
// the recompressions of a shrunk picture cost what those of a small one cost.
class DecodedSource {
public:
    // Leaves `jpeg` holding the decoded source with the source's own write options, ready
    // to encode, shrunk when it is larger than `longestSide` (0: kept at its size). Gives
    // what the file says beside its pixels, kept with them.
    const PictureMetadata& decodeInto(FileOperations& files, const QString& path,
                                      const QString& extension, TJPEGImage& jpeg,
                                      int longestSide = 0);
    // Puts the kept pixels shrunk to `longestSide` into `jpeg`, when they are larger; false,
    // with `jpeg` untouched, when nothing is kept or they are not.
    bool shrinkInto(TJPEGImage& jpeg, int longestSide);
    // The pixels the last decodeInto or shrinkInto gave when they were shrunk, else nothing:
    // what a new file of the shrunk picture is measured against.
    const TBitmap* shrunkPixels() const { return shrunkGiven_ ? &shrunk_ : nullptr; }
    // Takes pixels decoded elsewhere exactly as a recompression would decode the file in the
    // state `identity` names (the load's own reading of it), so the first recompression
    // need not decode the file again.
    void keep(const QString& path, const QString& extension,
              const std::optional<FileIdentity>& identity, const TBitmap& pixels, bool progressive,
              PictureMetadata metadata);
    void clear();

private:
    bool holds(const QString& path, const QString& extension,
               const std::optional<FileIdentity>& identity) const;

    QString path_;
    QString extension_;
    std::optional<FileIdentity> identity_;
    TBitmap pixels_;
    bool progressive_ = false;
    PictureMetadata metadata_;
    TBitmap shrunk_;
    int shrunkSide_ = 0; // the longest side `shrunk_` was made for; 0: none made
    bool shrunkGiven_ = false;
};
