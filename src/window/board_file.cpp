// SPDX-License-Identifier: MIT
#include "window/board_file.h"

#include "format/pixel_runs.h"
#include "format/png_chunks.h"
#include "window/state_format.h"

namespace orvanel {

std::vector<std::uint8_t> writeBoard(const Form1& window) {
    ByteWriter state;
    writeState(window.snapshotAtRest(), state);
    ByteWriter out;
    out.varint(kBoardFormat);
    out.varint(state.size());
    out.raw(state.bytes());
    const PixelBuffer& pixels = window.surface().pixels();
    out.varint(std::uint64_t(pixels.width()));
    out.varint(std::uint64_t(pixels.height()));
    encodePixelRuns({pixels.data(), pixels.byteCount() / sizeof(Rgb)}, out);
    return out.take();
}

std::vector<std::uint8_t> pictureWithBoard(std::span<const std::uint8_t> png,
                                           std::span<const std::uint8_t> board) {
    return withChunk(png, kBoardChunk, board);
}

std::optional<Notice> readBoard(std::span<const std::uint8_t> file, Form1::Snapshot& state,
                                PixelBuffer& pixels) {
    if (file.size() > kLargestBoardFile) {
        return Notice::NotABoard;
    }
    const ChunkSearch found = findChunk(file, kBoardChunk);
    if (!found.isPng || (!found.data && !found.damaged)) {
        return Notice::NotABoard;
    }
    if (!found.data) {
        return Notice::DamagedBoard;
    }
    return readBoardChunk(*found.data, state, pixels);
}

std::optional<Notice> readBoardChunk(std::span<const std::uint8_t> data, Form1::Snapshot& state,
                                     PixelBuffer& pixels) {
    ByteReader in(data);
    const std::uint64_t format = in.varint();
    if (in.ok() && format > kBoardFormat) {
        return Notice::NewerBoard;
    }
    const std::size_t stateSize = in.varint(0, kLargestState);
    ByteReader stateIn(in.raw(stateSize));
    Form1::Snapshot read = state;
    if (format != kBoardFormat || !in.ok() || !readState(stateIn, read) || !stateIn.atEnd() ||
        in.varint() != std::uint64_t(pixels.width()) ||
        in.varint() != std::uint64_t(pixels.height())) {
        return Notice::DamagedBoard;
    }
    const PixelView all = pixels.view();
    if (!decodePixelRuns(in, {all.pixels, std::size_t(all.width) * std::size_t(all.height)}) ||
        !in.atEnd()) {
        return Notice::DamagedBoard;
    }
    state = std::move(read);
    return std::nullopt;
}

} // namespace orvanel
