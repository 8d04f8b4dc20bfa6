#include "host/model/png_writer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kavrel::host {
namespace {

std::uint32_t Big32(const std::string& s, std::size_t at) {
    return (std::uint32_t(std::uint8_t(s[at])) << 24) |
           (std::uint32_t(std::uint8_t(s[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(s[at + 2])) << 8) | std::uint32_t(std::uint8_t(s[at + 3]));
}

TEST(PngWriterTest, ChecksumsMatchKnownValues) {
    const struct {
        const char* label;
        std::string data;
        std::uint32_t crc;
        std::uint32_t adler;
    } cases[] = {
        {"chunk type IEND", "IEND", 0xAE426082u, 0x02D70121u},
        {"Wikipedia example", "Wikipedia", 0xADAAC02Eu, 0x11E60398u},
        {"empty", "", 0u, 1u},
    };
    for (const auto& c : cases) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.data.data());
        EXPECT_EQ(Crc32(bytes, c.data.size()), c.crc) << c.label;
        EXPECT_EQ(Adler32(bytes, c.data.size()), c.adler) << c.label;
    }
}

// Reads the chunks back, checks every CRC and undoes the stored deflate blocks.
std::vector<std::uint8_t> Decode(const std::string& png, int* width, int* height) {
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    std::string idat;
    std::size_t at = 8;
    while (at < png.size()) {
        const std::uint32_t length = Big32(png, at);
        const std::string type = png.substr(at + 4, 4);
        const std::string body = png.substr(at + 4, 4 + length);
        EXPECT_EQ(Big32(png, at + 8 + length),
                  Crc32(reinterpret_cast<const std::uint8_t*>(body.data()), body.size()))
            << type;
        if (type == "IHDR") {
            *width = static_cast<int>(Big32(png, at + 8));
            *height = static_cast<int>(Big32(png, at + 12));
        } else if (type == "IDAT") {
            idat += png.substr(at + 8, length);
        }
        at += 12 + length;
    }
    std::vector<std::uint8_t> raw;
    std::size_t pos = 2;  // zlib header
    for (;;) {
        const bool last = idat[pos] & 1;
        const std::size_t n = std::uint8_t(idat[pos + 1]) | (std::uint8_t(idat[pos + 2]) << 8);
        const std::size_t check = std::uint8_t(idat[pos + 3]) | (std::uint8_t(idat[pos + 4]) << 8);
        EXPECT_EQ(n ^ 0xFFFF, check);
        raw.insert(raw.end(), idat.begin() + pos + 5, idat.begin() + pos + 5 + n);
        pos += 5 + n;
        if (last) {
            break;
        }
    }
    EXPECT_EQ(Big32(idat, pos), Adler32(raw.data(), raw.size()));
    return raw;
}

TEST(PngWriterTest, ImagesOfOneAndOfManyBlocksDecodeToTheirPixels) {
    const struct {
        const char* label;
        int width;
        int height;
    } cases[] = {{"tiny", 2, 2}, {"more than one stored block", 200, 150}};
    for (const auto& c : cases) {
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(c.width) * c.height * 3);
        for (std::size_t i = 0; i < rgb.size(); ++i) {
            rgb[i] = static_cast<std::uint8_t>(i * 7);
        }
        int width = 0, height = 0;
        const std::vector<std::uint8_t> raw =
            Decode(EncodePng(c.width, c.height, rgb), &width, &height);
        EXPECT_EQ(width, c.width) << c.label;
        EXPECT_EQ(height, c.height) << c.label;
        ASSERT_EQ(raw.size(), static_cast<std::size_t>(c.height) * (1 + 3 * c.width)) << c.label;
        for (int y = 0; y < c.height; ++y) {
            const std::size_t row = static_cast<std::size_t>(y) * (1 + 3 * c.width);
            EXPECT_EQ(raw[row], 0) << c.label << ": filter byte";
            EXPECT_EQ(std::memcmp(&raw[row + 1], &rgb[static_cast<std::size_t>(y) * 3 * c.width],
                                  3 * static_cast<std::size_t>(c.width)),
                      0)
                << c.label << ", row " << y;
        }
    }
}

}  // namespace
}  // namespace kavrel::host
