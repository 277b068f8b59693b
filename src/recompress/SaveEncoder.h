#pragma once

#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "recompress/RecompressOptions.h"

#include <QString>
#include <stop_token>

class FileOperations;
class TMemoryStream;

// The loaded picture as a save encodes it: read again from its file and decoded once (a
// JPEG file shrunk to a longest side is decoded at a reduced scale first), with the markers
// and the coding the new file carries. Each encode gives the bytes a save at that quality
// writes, so sizes and similarities can be tried at several qualities before one is written.
class SaveEncoder {
public:
    // Raises what reading or decoding the file raises. A stop asked through `stop` cuts the
    // work short at its next progress report with the silent cancellation (EAbort).
    SaveEncoder(const QString& source, const QString& sourceExtension,
                const RecompressOptions& options, std::stop_token stop = {});
    SaveEncoder(const QString& source, const QString& sourceExtension, bool details,
                std::stop_token stop = {})
        : SaveEncoder(source, sourceExtension, RecompressOptions{details}, std::move(stop)) {}
    SaveEncoder(const SaveEncoder&) = delete;
    SaveEncoder& operator=(const SaveEncoder&) = delete;

    // The new file's bytes at `quality`, valid until the next encode.
    TMemoryStream& encode(int quality);
    // The loaded picture's pixels, as the encodes take them (shrunk when they were).
    const TBitmap& pixels();
    // Whether the picture was shrunk to the longest side asked for.
    bool shrunk() const { return shrunk_; }
    // Writes the last encode over `target` in one step, as the save does.
    void write(FileOperations& files, const QString& target);

private:
    void shrink(const QString& sourceExtension, int longestSide);
    void stopWhenAsked() const;

    std::stop_token stop_;
    TBitmap workBitmap_;
    TJPEGImage workJpeg_;
    bool shrunk_ = false;
};
