#include "windows/FreeMemoryGauge.h"

#include "core/Exception.h"
#include "platform/desktop/MemoryStatus.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/MessagePump.h"
#include "ui/TLabel.h"
#include "ui/TProgressBar.h"

#include <algorithm>

void FreeMemoryGauge::tick() noexcept {
    try {
        refresh();
        MessagePump::processMessages();
    } catch (...) {
        // The gauge is a courtesy: a failed reading is not worth a message box every second.
    }
}

void FreeMemoryGauge::refresh() {
    const MemoryStatus::Figures figures = memory_.read();
    const std::uint64_t megabytes = figures.availableBytes >> 20;
    label_.setCaption(Texts::FreeMemoryPrefix.in(settings_.Language) + QString::number(megabytes) +
                      Texts::FreeMemoryUnit.in(settings_.Language));
    widenLabelToText();
    const std::uint64_t totalKibibytes = figures.totalBytes >> 10;
    if (totalKibibytes == 0) {
        throw Exception("Mémoire totale nulle"); // the label stands, the bar keeps its place
    }
    const std::uint64_t percentage = ((figures.availableBytes >> 10) * 100) / totalKibibytes;
    // A bar ignores a position beyond its range; figures that give more free than total
    // memory fill it instead.
    bar_.setValue(static_cast<int>(std::min<std::uint64_t>(percentage, 100)));
    bar_.setBarColor(colourFor(percentage));
}

void FreeMemoryGauge::widenLabelToText() {
    // Sized for four-digit figures; ten gigabytes free and more need room to the right.
    const int needed = label_.fontMetrics().horizontalAdvance(label_.caption());
    label_.resize(std::max(LabelWidth, needed), label_.height());
}

std::uint32_t FreeMemoryGauge::colourFor(std::uint64_t percentage) {
    if (percentage >= 30) {
        return Plenty;
    }
    if (percentage >= 15) {
        return Getting;
    }
    return Short;
}
