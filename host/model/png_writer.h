// A minimal PNG encoder: 24-bit RGB, deflate "stored" blocks (no compression),
// CRC-32 and Adler-32 computed here. Windows-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kavrel::host {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size);

// rgb holds height rows of width pixels, 3 bytes each, top row first.
std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace kavrel::host
