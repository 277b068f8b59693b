#pragma once

// How a bitmap stores one pixel. Device is the display's own format here: 32 bits per
// pixel, bytes blue, green, red, reserved. Bits15 is 5 bits each of red, green and blue in
// a 16-bit word, Bits16 is 5-6-5, Custom any other bit-field layout.
enum class TPixelFormat { Device, Bits1, Bits4, Bits8, Bits15, Bits16, Bits24, Bits32, Custom };
