// SPDX-License-Identifier: MIT
#include "format/pixel_runs.h"

#include <algorithm>
#include <unordered_map>

namespace orvanel {

namespace {

constexpr unsigned kEscape = 15;

} // namespace

void PixelRunEncoder::add(std::span<const Rgb> pixels) {
    for (const Rgb p : pixels) {
        if (!runs_.empty() && runs_.back().color == p) {
            ++runs_.back().length;
        } else {
            runs_.push_back({p, 1});
        }
    }
}

void PixelRunEncoder::finish(ByteWriter& out) {
    // The palette, most frequent colour first, so the common runs take the
    // one-byte form.
    std::unordered_map<Rgb, std::size_t> uses;
    for (const Run& r : runs_) {
        ++uses[r.color];
    }
    std::vector<std::pair<Rgb, std::size_t>> palette(uses.begin(), uses.end());
    std::sort(palette.begin(), palette.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    out.varint(palette.size());
    std::unordered_map<Rgb, std::size_t> place;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const Rgb c = palette[i].first;
        out.byte(std::uint8_t(redOf(c)));
        out.byte(std::uint8_t(greenOf(c)));
        out.byte(std::uint8_t(blueOf(c)));
        place[c] = i;
    }
    for (const Run& r : runs_) {
        const std::size_t p = place[r.color];
        const std::size_t l = r.length - 1;
        out.byte(std::uint8_t(std::min<std::size_t>(p, kEscape) << 4 |
                              std::min<std::size_t>(l, kEscape)));
        if (p >= kEscape) {
            out.varint(p);
        }
        if (l >= kEscape) {
            out.varint(l - kEscape);
        }
    }
    runs_.clear();
}

PixelRunDecoder::PixelRunDecoder(ByteReader& in, std::size_t total) : in_(in), left_(total) {
    // Never more colours than pixels, nor than three bytes each can be read.
    palette_.resize(in.varint(0, std::min(total, in.left() / 3)));
    for (Rgb& c : palette_) {
        const int r = in.byte();
        const int g = in.byte();
        const int b = in.byte();
        c = rgb(r, g, b);
    }
}

bool PixelRunDecoder::read(std::span<Rgb> out) {
    std::size_t at = 0;
    while (in_.ok() && at < out.size()) {
        if (run_ == 0) {
            const std::uint8_t op = in_.byte();
            const std::uint64_t p = (op >> 4) == kEscape ? in_.varint() : op >> 4;
            // The run's length less one, never past the last pixel.
            const std::uint64_t l =
                (op & 0xf) == kEscape ? in_.varint(0, left_) + kEscape : op & 0xf;
            if (!in_.ok() || p >= palette_.size() || l >= left_) {
                in_.fail();
                break;
            }
            color_ = palette_[p];
            run_ = l + 1;
            left_ -= run_;
        }
        const std::size_t n = std::min(run_, out.size() - at);
        std::fill_n(out.begin() + std::ptrdiff_t(at), n, color_);
        at += n;
        run_ -= n;
    }
    return in_.ok();
}

void encodePixelRuns(std::span<const Rgb> pixels, ByteWriter& out) {
    PixelRunEncoder encoder;
    encoder.add(pixels);
    encoder.finish(out);
}

bool decodePixelRuns(ByteReader& in, std::span<Rgb> out) {
    PixelRunDecoder decoder(in, out.size());
    return decoder.read(out) && decoder.finished();
}

} // namespace orvanel
