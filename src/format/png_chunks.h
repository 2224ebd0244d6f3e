// SPDX-License-Identifier: MIT
// The chunks of a PNG file, as far as the program needs them: to carry a
// chunk of its own beside the picture (every viewer skips an ancillary chunk
// it does not know) and to find it again. The picture itself is never
// decoded here.
//
// A PNG file is an eight-byte signature and then chunks: a four-byte length
// (big-endian, at most 2^31 - 1), a four-letter type, the data, and a CRC-32
// of type and data. IHDR comes first and IEND last.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace orvanel {

// CRC-32 as PNG (and zlib) computes it, continued from `crc`.
std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

// What a search for a chunk found in a file's bytes.
struct ChunkSearch {
    bool isPng = false;   // the file starts as a PNG and its first chunk is IHDR
    bool damaged = false; // a chunk runs past the end, or its CRC is wrong
    std::optional<std::span<const std::uint8_t>> data; // the chunk's data, when found whole
};

// Looks for the first chunk of `type` before IEND, checking every chunk's
// length and CRC on the way.
ChunkSearch findChunk(std::span<const std::uint8_t> file, std::string_view type);

// `png` with a chunk of `type` holding `data` right after IHDR, and any
// chunk of that type it had left out; empty when `png` is not a PNG file.
std::vector<std::uint8_t> withChunk(std::span<const std::uint8_t> png, std::string_view type,
                                    std::span<const std::uint8_t> data);

} // namespace orvanel
