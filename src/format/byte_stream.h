// SPDX-License-Identifier: MIT
// Bytes written and read back in the program's own formats: whole numbers as
// unsigned LEB128 varints (zig-zag for signed ones), reals as the eight bytes
// of an IEEE 754 double, least significant first, whatever the machine.
//
// The reader trusts nothing it reads: every read checks that the bytes are
// there, and a read past the end, an overlong varint or a value out of the
// range asked for fails the reader for good. A failed reader reads zeros, so
// a decoder can read a whole record and ask once, at its end, whether it
// was sound.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace orvanel {

class ByteWriter {
public:
    void byte(std::uint8_t b) { bytes_.push_back(b); }
    void varint(std::uint64_t v) {
        while (v >= 0x80) {
            bytes_.push_back(std::uint8_t(v | 0x80));
            v >>= 7;
        }
        bytes_.push_back(std::uint8_t(v));
    }
    void signedVarint(std::int64_t v) { varint((std::uint64_t(v) << 1) ^ std::uint64_t(v >> 63)); }
    void real(double v) {
        std::uint64_t bits = 0; // std::bit_cast, which not every library has yet
        std::memcpy(&bits, &v, sizeof bits);
        for (int i = 0; i < 8; ++i, bits >>= 8) {
            bytes_.push_back(std::uint8_t(bits));
        }
    }
    void raw(std::span<const std::uint8_t> bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }
    void text(std::string_view s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }
    std::size_t size() const { return bytes_.size(); }

private:
    std::vector<std::uint8_t> bytes_;
};

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    bool atEnd() const { return at_ == bytes_.size(); }
    std::size_t left() const { return ok_ ? bytes_.size() - at_ : 0; }
    // Marks the record unsound, for a decoder that found a value it refuses.
    void fail() { ok_ = false; }

    std::uint8_t byte() {
        if (!ok_ || at_ >= bytes_.size()) {
            ok_ = false;
            return 0;
        }
        return bytes_[at_++];
    }
    std::uint64_t varint() {
        std::uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const std::uint8_t b = byte();
            v |= std::uint64_t(b & 0x7f) << shift;
            if ((b & 0x80) == 0) {
                return ok_ ? v : 0;
            }
        }
        ok_ = false;
        return 0;
    }
    // A varint that must lie in [low, high].
    std::uint64_t varint(std::uint64_t low, std::uint64_t high) {
        const std::uint64_t v = varint();
        if (v < low || v > high) {
            ok_ = false;
            return low;
        }
        return v;
    }
    std::int64_t signedVarint(std::int64_t low, std::int64_t high) {
        const std::uint64_t u = varint();
        const auto v = std::int64_t(u >> 1) ^ -std::int64_t(u & 1);
        if (!ok_ || v < low || v > high) {
            ok_ = false;
            return low;
        }
        return v;
    }
    // A finite real within [-limit, limit].
    double real(double limit) {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) {
            bits |= std::uint64_t(byte()) << (8 * i);
        }
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        if (!ok_ || !std::isfinite(v) || std::abs(v) > limit) {
            ok_ = false;
            return 0;
        }
        return v;
    }
    // The next `count` bytes, or none when fewer are left.
    std::span<const std::uint8_t> raw(std::size_t count) {
        if (!ok_ || count > bytes_.size() - at_) {
            ok_ = false;
            return {};
        }
        const std::span<const std::uint8_t> part = bytes_.subspan(at_, count);
        at_ += count;
        return part;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

} // namespace orvanel
