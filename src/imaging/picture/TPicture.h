#pragma once

#include "imaging/picture/TGraphic.h"

#include <functional>
#include <memory>

// What a picture control shows: its own copy of the picture it was given, so that the
// caller may free or change the original.
class TPicture {
public:
    using TNotifyEvent = std::function<void(TPicture& sender)>;

    TPicture() = default;
    ~TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // A new picture of the source's class takes the source's contents; nullptr clears.
    // OnChange follows once.
    void assign(const TGraphic* source);
    TGraphic* graphic() { return graphic_.get(); }
    const TGraphic* graphic() const { return graphic_.get(); }
    int width() const { return graphic_ ? graphic_->width() : 0; }
    int height() const { return graphic_ ? graphic_->height() : 0; }

    // Also raised for every change and progress report of the copy.
    TNotifyEvent OnChange;
    TGraphic::TProgressEvent OnProgress;

private:
    void attach();
    void changed();

    std::unique_ptr<TGraphic> graphic_;
};
