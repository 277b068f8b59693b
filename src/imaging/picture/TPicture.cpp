#include "imaging/picture/TPicture.h"

TPicture::~TPicture() {
    // The copy may still report while it goes away; nobody listens any more.
    if (graphic_) {
        graphic_->OnChange = nullptr;
        graphic_->OnProgress = nullptr;
    }
}

void TPicture::assign(const TGraphic* source) {
    std::unique_ptr<TGraphic> copy;
    if (source != nullptr) {
        copy = source->createEmpty();
        copy->CopyFrom(source);
    }
    graphic_ = std::move(copy);
    attach();
    changed();
}

void TPicture::attach() {
    if (!graphic_) {
        return;
    }
    graphic_->OnChange = [this](TGraphic&) { changed(); };
    graphic_->OnProgress = [this](TGraphic& sender, TProgressStage stage, std::uint8_t percentDone,
                                  bool redrawNow, const TRect& r, const std::string& msg) {
        if (OnProgress) {
            OnProgress(sender, stage, percentDone, redrawNow, r, msg);
        }
    };
}

void TPicture::changed() {
    if (OnChange) {
        OnChange(*this);
    }
}
