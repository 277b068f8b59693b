#include "imaging/picture/TGraphic.h"

#include "core/TFileStream.h"

void TGraphic::ReadFromFile(const std::string& fileName) {
    TFileStream file(fileName, TFileStream::Mode::OpenRead);
    ReadFromStream(file);
}

void TGraphic::WriteToFile(const std::string& fileName) {
    TFileStream file(fileName, TFileStream::Mode::Create);
    WriteToStream(file);
}

void TGraphic::changed() {
    modified_ = true;
    if (OnChange) {
        OnChange(*this);
    }
}

void TGraphic::progress(TProgressStage stage, std::uint8_t percentDone, bool redrawNow,
                        const TRect& r, const std::string& msg) {
    if (OnProgress) {
        OnProgress(*this, stage, percentDone, redrawNow, r, msg);
    }
}
