#pragma once

#include <cstdint>

class MemoryStatus;
class Settings;
class TLabel;
class TProgressBar;

// The main window's free-memory readout: a label with the free megabytes and a bar with the
// free share in percent, green, then cyan, then red as memory runs short. It keeps nothing
// between refreshes.
class FreeMemoryGauge {
public:
    FreeMemoryGauge(TLabel& label, TProgressBar& bar, MemoryStatus& memory,
                    const Settings& settings)
        : label_(label), bar_(bar), memory_(memory), settings_(settings) {}

    // One refresh, then the waiting window messages run. An error ends it silently where it
    // happened: what was already shown stays, and the next refresh starts afresh.
    void tick() noexcept;

    // Bar colours as Windows colour values, 0x00BBGGRR.
    static constexpr std::uint32_t Plenty = 0x00008000;  // green, from 30 %
    static constexpr std::uint32_t Getting = 0x00FFFF00; // cyan, 15 % to 29 %
    static constexpr std::uint32_t Short = 0x000000FF;   // red, under 15 %

    // The label's width, unless its text needs more.
    static constexpr int LabelWidth = 121;

private:
    void refresh();
    void widenLabelToText();
    static std::uint32_t colourFor(std::uint64_t percentage);

    TLabel& label_;
    TProgressBar& bar_;
    MemoryStatus& memory_;
    const Settings& settings_;
};
