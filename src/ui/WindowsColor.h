#pragma once

#include <QColor>
#include <cstdint>

// A colour given as a Windows colour value, 0x00BBGGRR.
QColor fromWindowsColor(std::uint32_t value);
