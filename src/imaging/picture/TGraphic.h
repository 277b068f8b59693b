#pragma once

#include "imaging/picture/TProgressStage.h"
#include "imaging/picture/TRect.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TBitmap;
class TStream;

// Base of the two picture kinds, bitmaps and JPEG pictures. Pictures are not copied by
// value: a copy is a new picture of the same class that takes the other one's contents
// with CopyFrom.
class TGraphic {
public:
    using TNotifyEvent = std::function<void(TGraphic& sender)>;
    using TProgressEvent =
        std::function<void(TGraphic& sender, TProgressStage stage, std::uint8_t percentDone,
                           bool redrawNow, const TRect& r, const std::string& msg)>;

    TGraphic() = default;
    virtual ~TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    virtual bool empty() const = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual void setWidth(int width) = 0;
    virtual void setHeight(int height) = 0;

    virtual void ReadFromStream(TStream& stream) = 0;
    virtual void WriteToStream(TStream& stream) = 0;
    // Open, read from the start, close; EFOpenError when the file cannot be opened.
    virtual void ReadFromFile(const std::string& fileName);
    // Create or truncate, write, close; EFCreateError when the file cannot be created.
    virtual void WriteToFile(const std::string& fileName);

    // Takes the contents of `source`, which is a picture of a class this one understands;
    // nullptr empties the picture.
    virtual void CopyFrom(const TGraphic* source) = 0;
    // A new empty picture of the same class, with that class's default options.
    virtual std::unique_ptr<TGraphic> createEmpty() const = 0;
    // The pixels to draw: a bitmap draws itself, a JPEG picture decodes first. Null when
    // there is nothing to draw.
    virtual const TBitmap* drawingBitmap() = 0;

    bool modified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

protected:
    // Marks the picture modified and tells whoever listens.
    void changed();
    void progress(TProgressStage stage, std::uint8_t percentDone, bool redrawNow, const TRect& r,
                  const std::string& msg);

private:
    bool modified_ = false;
};
