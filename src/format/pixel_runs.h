// SPDX-License-Identifier: MIT
// Pixels kept compactly: the board holds a handful of colours in long runs
// (the green ground, the chalk, the marks), so a sequence of pixels is
// written as a palette and runs of its colours.
//
//   palette size n (varint), then n colours as red, green, blue bytes,
//   most frequent first; then runs, each a byte whose high four bits are the
//   colour's place in the palette and whose low four bits the run's length
//   less one; 15 in either says that the value follows as a varint (the
//   place itself; the length less 16).
//
// So a run of a common colour up to 15 pixels long costs one byte, a whole
// green board a handful, and no sequence more than about two bytes a pixel.
// The colours are written in red, green, blue order whatever the order in
// which a shell keeps its pixels, so the bytes mean the same in every shell.
#pragma once

#include "format/byte_stream.h"
#include "raster/color.h"

#include <span>
#include <vector>

namespace orvanel {

// Takes a sequence of pixels piece by piece (the rows of a rectangle, say)
// and writes it whole.
class PixelRunEncoder {
public:
    void add(std::span<const Rgb> pixels);
    void finish(ByteWriter& out);

private:
    struct Run {
        Rgb color;
        std::size_t length;
    };
    std::vector<Run> runs_;
};

// Reads a sequence of exactly `total` pixels piece by piece. Every read
// checks the bytes: a palette larger than the pixels, a colour not in it or
// a run past the last pixel fails the reader, and the pieces read from then
// on are left as they were.
class PixelRunDecoder {
public:
    PixelRunDecoder(ByteReader& in, std::size_t total);
    // Fills `out` with the next out.size() pixels; false once the bytes
    // failed.
    bool read(std::span<Rgb> out);
    // Whether all `total` pixels were read and the bytes were sound.
    bool finished() const { return in_.ok() && left_ == 0 && run_ == 0; }

private:
    ByteReader& in_;
    std::vector<Rgb> palette_;
    std::size_t left_;    // pixels not yet begun by a run
    Rgb color_ = 0;       // the current run's colour
    std::size_t run_ = 0; // and the pixels left in it
};

void encodePixelRuns(std::span<const Rgb> pixels, ByteWriter& out);
// Reads exactly out.size() pixels into `out`; false (and `in` failed) when
// the bytes are not such a sequence of that length.
bool decodePixelRuns(ByteReader& in, std::span<Rgb> out);

} // namespace orvanel
