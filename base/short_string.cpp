#include "base/short_string.h"

#include <array>

namespace kavrel {
namespace {

// Code page 1251, bytes 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to U+044F in order.
// 0x98 is the one byte without a character; it maps to U+0098 and back.
constexpr std::array<char16_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

char16_t ByteToWide(unsigned char byte) {
    if (byte < 0x80) {
        return byte;
    }
    if (byte >= 0xC0) {
        return static_cast<char16_t>(0x0410 + (byte - 0xC0));
    }
    return kHighHalf[byte - 0x80];
}

// Returns -1 for a character outside the code page.
int WideToByte(char16_t ch) {
    if (ch < 0x80) {
        return ch;
    }
    if (ch >= 0x0410 && ch <= 0x044F) {
        return 0xC0 + (ch - 0x0410);
    }
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        if (kHighHalf[i] == ch) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

}  // namespace

std::string WideToCp1251(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t ch : text) {
        const int byte = WideToByte(ch);
        out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    }
    return out;
}

std::u16string Cp1251ToWide(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char ch : text) {
        out.push_back(ByteToWide(static_cast<unsigned char>(ch)));
    }
    return out;
}

bool FitsCp1251(std::u16string_view text) {
    for (char16_t ch : text) {
        if (WideToByte(ch) < 0) {
            return false;
        }
    }
    return true;
}

}  // namespace kavrel
