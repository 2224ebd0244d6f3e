// SPDX-License-Identifier: MIT
// A board saved in a picture: the PNG of the window as it looks, which any
// viewer shows, carries in a chunk of its own (kBoardChunk) the window's
// whole state and the board's own pixels, so that opening the picture gives
// the very board back. docs/board-file.md describes the bytes.
#pragma once

#include "raster/pixel_buffer.h"
#include "window/form1.h"
#include "window/notices.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace orvanel {

// Ancillary, private, safe to copy: viewers and editors keep it or drop it
// without harm.
inline constexpr std::string_view kBoardChunk = "orBd";
inline constexpr std::uint64_t kBoardFormat = 1;
// The most a chunk's window state may take: a state takes a few hundred.
inline constexpr std::size_t kLargestState = std::size_t(64) << 10;
// The most a file holding a board may take: a window's picture with its
// board in it takes a few megabytes even at the largest screen scales. A
// larger file is no board, so a shell need not read more of a file than this
// and one byte more.
inline constexpr std::size_t kLargestBoardFile = std::size_t(64) << 20;

// The chunk's data for the window as it is now.
std::vector<std::uint8_t> writeBoard(const Form1& window);

// The PNG picture `png` with `board`, the data writeBoard gave, in its
// chunk; empty when `png` is no PNG. A shell that makes the picture away
// from the window takes the board's data first, while the window is as
// the picture shows it.
std::vector<std::uint8_t> pictureWithBoard(std::span<const std::uint8_t> png,
                                           std::span<const std::uint8_t> board);

// Reads the data of a board's chunk, as readBoard does.
std::optional<Notice> readBoardChunk(std::span<const std::uint8_t> data, Form1::Snapshot& state,
                                     PixelBuffer& pixels);

// Reads a file's bytes as a board, checking everything: its state over
// `state`, a snapshot of the reading window that supplies what the file does
// not carry (see window/state_format.h), and its pixels into `pixels`, a
// buffer of the board's size. Returns why the file is no sound board, or
// none when it is one; only then are `state` and `pixels` all the file's.
std::optional<Notice> readBoard(std::span<const std::uint8_t> file, Form1::Snapshot& state,
                                PixelBuffer& pixels);

} // namespace orvanel
