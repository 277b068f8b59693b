#pragma once

#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "recompress/RecompressOptions.h"

#include <QString>
#include <functional>

class FileOperations;
class TMemoryStream;

// The loaded picture as a save encodes it: read again from its file and decoded once, with
// the markers the new file carries. Each encode gives the bytes a save at that quality
// writes, so sizes and similarities can be tried at several qualities before one is written.
class SaveEncoder {
public:
    // Asked at the encoder's progress reports; true cuts the work short with the silent
    // cancellation.
    using Stop = std::function<bool()>;

    // Raises what reading or decoding the file raises.
    SaveEncoder(const QString& source, const QString& sourceExtension,
                const RecompressOptions& options, Stop stop = {});
    SaveEncoder(const QString& source, const QString& sourceExtension, bool details, Stop stop = {})
        : SaveEncoder(source, sourceExtension, RecompressOptions{details}, std::move(stop)) {}
    SaveEncoder(const SaveEncoder&) = delete;
    SaveEncoder& operator=(const SaveEncoder&) = delete;

    // The new file's bytes at `quality`, valid until the next encode.
    TMemoryStream& encode(int quality);
    // The loaded picture's pixels, as the encodes take them.
    const TBitmap& pixels();
    // Writes the last encode over `target` in one step, as the save does.
    void write(FileOperations& files, const QString& target);

private:
    void stopWhenAsked() const;

    Stop stop_;
    TBitmap workBitmap_;
    TJPEGImage workJpeg_;
};
