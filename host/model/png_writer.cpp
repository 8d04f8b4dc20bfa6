#include "host/model/png_writer.h"

#include <algorithm>
#include <array>

namespace kavrel::host {
namespace {

const std::array<std::uint32_t, 256>& CrcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void PutBig32(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v >> 24));
    out.push_back(static_cast<char>(v >> 16));
    out.push_back(static_cast<char>(v >> 8));
    out.push_back(static_cast<char>(v));
}

void Chunk(std::string& out, const char* type, const std::string& data) {
    PutBig32(out, static_cast<std::uint32_t>(data.size()));
    std::string body(type, 4);
    body += data;
    out += body;
    PutBig32(out, Crc32(reinterpret_cast<const std::uint8_t*>(body.data()), body.size()));
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc = CrcTable()[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

std::uint32_t Adler32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t a = 1, b = 0;
    for (std::size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb) {
    // Each row: filter byte 0, then the pixels.
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto* row = rgb.data() + static_cast<std::size_t>(y) * 3 * width;
        raw.insert(raw.end(), row, row + 3 * static_cast<std::size_t>(width));
    }
    std::string zlib = {'\x78', '\x01'};
    std::size_t pos = 0;
    do {
        const std::size_t block = std::min<std::size_t>(65535, raw.size() - pos);
        const bool last = pos + block == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<char>(block & 0xFF));
        zlib.push_back(static_cast<char>(block >> 8));
        zlib.push_back(static_cast<char>(~block & 0xFF));
        zlib.push_back(static_cast<char>((~block >> 8) & 0xFF));
        zlib.append(reinterpret_cast<const char*>(raw.data()) + pos, block);
        pos += block;
    } while (pos < raw.size());
    PutBig32(zlib, Adler32(raw.data(), raw.size()));

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBig32(header, static_cast<std::uint32_t>(width));
    PutBig32(header, static_cast<std::uint32_t>(height));
    header +=
        std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, deflate, no filter, no interlace
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", zlib);
    Chunk(png, "IEND", "");
    return png;
}

}  // namespace kavrel::host
