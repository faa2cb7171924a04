#pragma once
// Little-endian fields at fixed offsets of a stored record.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vocalore {

template <size_t N> void PutFlag(std::array<uint8_t, N>& r, size_t at, bool v) {
    r[at] = v ? 1 : 0;
}
template <size_t N> void PutU16(std::array<uint8_t, N>& r, size_t at, uint16_t v) {
    r[at] = static_cast<uint8_t>(v);
    r[at + 1] = static_cast<uint8_t>(v >> 8);
}
template <size_t N> void PutU32(std::array<uint8_t, N>& r, size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i)
        r[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
template <size_t N> void PutI32(std::array<uint8_t, N>& r, size_t at, int32_t v) {
    PutU32(r, at, static_cast<uint32_t>(v));
}
template <size_t N> uint16_t GetU16(const std::array<uint8_t, N>& r, size_t at) {
    return static_cast<uint16_t>(r[at] | (r[at + 1] << 8));
}
template <size_t N> uint32_t GetU32(const std::array<uint8_t, N>& r, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(r[at + i]) << (8 * i);
    return v;
}
template <size_t N> int32_t GetI32(const std::array<uint8_t, N>& r, size_t at) {
    return static_cast<int32_t>(GetU32(r, at));
}

// A damaged stored number outside [low, high] takes its default instead.
inline void KeepInRange(int32_t& value, int32_t low, int32_t high, int32_t fallback) {
    if (value < low || value > high)
        value = fallback;
}

} // namespace vocalore
