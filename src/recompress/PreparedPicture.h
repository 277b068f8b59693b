#pragma once

#include "imaging/bmp/TBitmap.h"
#include "imaging/formats/PictureKind.h"
#include "imaging/metadata/PictureMetadata.h"
#include "platform/FileIdentity.h"
#include "recompress/RecompressOptions.h"

#include <QString>
#include <optional>
#include <stop_token>
#include <string>

class FileOperations;
class TJPEGImage;

// A picture file as every new file is made of it: its pixels decoded (and shrunk to the
// longest side asked for) and what the file says beside them. The one road from a file to
// the pixels of a new file: the window's load, preview, searches, similarity and save, and
// the command line, all take their pixels here, so the size shown is the size saved.
//
// A JPEG shrunk to a longest side is decoded at the DCT reduction that leaves the filter
// enough to do, then resampled; any other picture is shrunk from its full decode.
//
// The pixels stand for the file only while it is provably the same file in the same state
// (device, inode, size, and modification and change times to the nanosecond, checked at
// each prepare); otherwise it is read again, or its error raised, as on the first time.
class PreparedPicture {
public:
    // Readies the picture of the file at `path`, of the kind `kind`, for new files of the
    // options' longest side (0: its own size), reading and decoding only what is not kept for
    // the file as it is now. Transparent pixels are laid on the options' background. Raises
    // what reading or decoding raises; a stop asked through `stop` raises EAbort, with
    // nothing kept.
    void prepare(FileOperations& files, const QString& path, PictureKind kind,
                 const RecompressOptions& options, std::stop_token stop = {});
    // The same without a file identity, read every time: for one use of the file.
    void read(const QString& path, PictureKind kind, const RecompressOptions& options,
              std::stop_token stop = {});
    // Takes the full decode the load made of the file in the state `identity` names, so the
    // first preparation at full size need not decode the file again. A JPEG's pixels are
    // taken only at 24 bits, as every new file is made of them.
    void keepFullDecode(const QString& path, PictureKind kind,
                        const std::optional<FileIdentity>& identity, const TBitmap& pixels,
                        bool progressive, PictureMetadata metadata);
    void clear();

    bool empty() const { return pixels_.empty(); }
    // The pixels every new file encodes, shrunk when `shrunk()`.
    const TBitmap& pixels() const { return pixels_; }
    bool shrunk() const { return shrunk_; }
    const PictureMetadata& metadata() const { return metadata_; }
    // What the file's reader said of it beside its pixels, such as that only the first frame
    // of an animation was read; empty for most.
    const std::string& note() const { return note_; }
    // Puts the pixels into `picture`, with the markers and the coding a new file of them
    // carries under `options`, ready to encode at any quality.
    void readyToEncode(TJPEGImage& picture, const RecompressOptions& options) const;

private:
    bool holds(const QString& path, PictureKind kind,
               const std::optional<FileIdentity>& identity) const;
    void shrinkKept(int longestSide, const std::stop_token& stop);
    void readFile(const QString& path, const RecompressOptions& options,
                  const std::stop_token& stop);

    QString path_;
    PictureKind kind_ = PictureKind::Unknown;
    std::optional<FileIdentity> identity_;
    PictureMetadata metadata_;
    std::string note_;
    bool progressive_ = false;
    TBitmap full_;   // the whole decode, when kept: a shrink of a bitmap starts from it
    TBitmap pixels_; // what new files encode: `full_` itself, or shrunk
    int side_ = -1;  // the longest side `pixels_` were made for
    bool shrunk_ = false;
};
