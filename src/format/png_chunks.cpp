// SPDX-License-Identifier: MIT
#include "format/png_chunks.h"

#include <algorithm>
#include <array>

namespace orvanel {

namespace {

constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr std::uint32_t kLargestChunk = 0x7fffffff;

constexpr std::array<std::uint32_t, 256> crcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}

constexpr auto kCrcTable = crcTable();

std::uint32_t bigEndian(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(std::uint8_t(v >> shift));
    }
}

struct Chunk {
    std::string_view type;
    std::span<const std::uint8_t> data;
    std::span<const std::uint8_t> whole; // length, type, data and CRC
};

// Walks the chunks of `file` after the signature; visit(chunk) returns false
// to stop. Returns false when a chunk is cut short or its CRC is wrong.
template <typename Visit> bool walk(std::span<const std::uint8_t> file, Visit visit) {
    std::size_t at = kSignature.size();
    while (at < file.size()) {
        if (file.size() - at < 12) {
            return false;
        }
        const std::uint32_t length = bigEndian(&file[at]);
        if (length > kLargestChunk || length > file.size() - at - 12) {
            return false;
        }
        const std::span<const std::uint8_t> typeAndData = file.subspan(at + 4, 4 + length);
        if (crc32(typeAndData) != bigEndian(&file[at + 8 + length])) {
            return false;
        }
        const Chunk chunk{{reinterpret_cast<const char*>(&file[at + 4]), 4},
                          file.subspan(at + 8, length),
                          file.subspan(at, 12 + length)};
        at += 12 + std::size_t(length);
        if (!visit(chunk) || chunk.type == "IEND") {
            return true;
        }
    }
    return false; // no IEND
}

bool startsAsPng(std::span<const std::uint8_t> file) {
    return file.size() >= kSignature.size() + 12 &&
           std::equal(kSignature.begin(), kSignature.end(), file.begin()) &&
           std::string_view(reinterpret_cast<const char*>(&file[12]), 4) == "IHDR";
}

} // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    crc = ~crc;
    for (const std::uint8_t b : bytes) {
        crc = kCrcTable[(crc ^ b) & 0xff] ^ (crc >> 8);
    }
    return ~crc;
}

ChunkSearch findChunk(std::span<const std::uint8_t> file, std::string_view type) {
    ChunkSearch found;
    found.isPng = startsAsPng(file);
    if (!found.isPng) {
        return found;
    }
    found.damaged = !walk(file, [&](const Chunk& c) {
        if (c.type == type) {
            found.data = c.data;
            return false;
        }
        return true;
    });
    return found;
}

std::vector<std::uint8_t> withChunk(std::span<const std::uint8_t> png, std::string_view type,
                                    std::span<const std::uint8_t> data) {
    if (!startsAsPng(png) || type.size() != 4 || data.size() > kLargestChunk) {
        return {};
    }
    std::vector<std::uint8_t> out(kSignature.begin(), kSignature.end());
    out.reserve(png.size() + data.size() + 12);
    const bool whole = walk(png, [&](const Chunk& c) {
        if (c.type != type) {
            out.insert(out.end(), c.whole.begin(), c.whole.end());
        }
        if (c.type == "IHDR") {
            putBigEndian(out, std::uint32_t(data.size()));
            const std::size_t typeAt = out.size();
            out.insert(out.end(), type.begin(), type.end());
            out.insert(out.end(), data.begin(), data.end());
            putBigEndian(out, crc32(std::span(out).subspan(typeAt)));
        }
        return true;
    });
    if (!whole) {
        out.clear();
    }
    return out;
}

} // namespace orvanel
