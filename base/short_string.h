// Short strings of the host's SDK layer and the code page 1251 they use.
// The automation layer speaks UTF-16; every SDK call converts at its edge.
// Windows-free, so that the conversions are tested natively as well.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kavrel {

// A short string of the SDK layer: byte 0 is the length, then up to Capacity
// characters in code page 1251; the bytes after the last character are zero.
template <std::size_t Capacity>
struct ShortString {
    static_assert(Capacity <= 255, "the length byte limits a short string to 255 characters");
    static constexpr std::size_t capacity = Capacity;
    std::uint8_t bytes[Capacity + 1];
};
static_assert(sizeof(ShortString<15>) == 16 && alignof(ShortString<15>) == 1);

// UTF-16 to code page 1251; a character the code page lacks becomes '?'.
std::string WideToCp1251(std::u16string_view text);
// Code page 1251 to UTF-16 (every byte maps to a character).
std::u16string Cp1251ToWide(std::string_view text);
// True when every character of the text has a code page 1251 byte.
bool FitsCp1251(std::u16string_view text);

// Stores the 8-bit text cut to the field's capacity, zero after the last character.
template <std::size_t N>
void StoreShortString(ShortString<N>& field, std::string_view cp1251) {
    std::memset(field.bytes, 0, sizeof field.bytes);
    const std::size_t length = cp1251.size() < N ? cp1251.size() : N;
    field.bytes[0] = static_cast<std::uint8_t>(length);
    if (length != 0) {
        std::memcpy(field.bytes + 1, cp1251.data(), length);
    }
}

template <std::size_t N>
void StoreShortString(ShortString<N>& field, std::u16string_view text) {
    StoreShortString(field, std::string_view(WideToCp1251(text)));
}

// The 8-bit text of a field; a length byte beyond the capacity is read as the capacity.
template <std::size_t N>
std::string ReadShortString(const ShortString<N>& field) {
    const std::size_t length = field.bytes[0] < N ? field.bytes[0] : N;
    return std::string(reinterpret_cast<const char*>(field.bytes + 1), length);
}

template <std::size_t N>
std::u16string ReadShortStringWide(const ShortString<N>& field) {
    return Cp1251ToWide(ReadShortString(field));
}

template <std::size_t N>
ShortString<N> MakeShortString(std::u16string_view text) {
    ShortString<N> field;
    StoreShortString(field, text);
    return field;
}

}  // namespace kavrel
