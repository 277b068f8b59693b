#pragma once

#include <cstdint>
#include <vector>

// Little-endian fields of file headers, read from and appended to byte buffers.
class TLittleEndian {
public:
    static std::uint16_t u16(const std::uint8_t* bytes) {
        return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
    }
    static std::uint32_t u32(const std::uint8_t* bytes) {
        return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t{bytes[3]} << 24);
    }
    static std::int32_t i32(const std::uint8_t* bytes) {
        return static_cast<std::int32_t>(u32(bytes));
    }
    static void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
        out.push_back(static_cast<std::uint8_t>(value));
        out.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    static void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
        put16(out, value & 0xFFFF);
        put16(out, value >> 16);
    }
};
