#pragma once

#include <cstdint>

enum class TProgressStage : std::uint8_t { Starting = 0, Running = 1, Ending = 2 };
