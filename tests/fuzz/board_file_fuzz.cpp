// SPDX-License-Identifier: MIT
// libFuzzer's entry: any bytes offered as a saved board's file, as a board's
// chunk alone, and as the figure in a link. Built and run by scripts/fuzz.sh,
// which first has it write its seeds (ORVANEL_FUZZ_SEEDS=DIR): a lesson's
// board as a file and as a chunk, and a link.
#include "format/png_chunks.h"
#include "window/board_file.h"
#include "window/figure_link.h"
#include "window/session.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace {

// Captions sized by their length: the readers do not depend on a font.
class CountingMeasurer : public orvanel::TextMeasurer {
public:
    orvanel::Size textSize(const orvanel::FontSpec&, std::string_view text) const override {
        return {int(text.size()) * 8, 20};
    }
};

const CountingMeasurer gMeasurer;

void put(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A PNG file's chunks, as far as a board needs them: IHDR and IEND.
std::vector<std::uint8_t> emptyPicture() {
    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    for (const std::string_view type : {std::string_view("IHDR"), std::string_view("IEND")}) {
        const std::size_t length = type == "IHDR" ? 13 : 0;
        png.insert(png.end(), {0, 0, 0, std::uint8_t(length)});
        const std::size_t at = png.size();
        png.insert(png.end(), type.begin(), type.end());
        png.insert(png.end(), length, 1);
        const std::uint32_t crc = orvanel::crc32(std::span(png).subspan(at));
        png.insert(png.end(), {std::uint8_t(crc >> 24), std::uint8_t(crc >> 16),
                               std::uint8_t(crc >> 8), std::uint8_t(crc)});
    }
    return png;
}

void writeSeeds(const std::string& dir) {
    orvanel::Session lesson(gMeasurer);
    std::mt19937 rng(1);
    lesson.click(orvanel::controls::Check3);
    for (int i = 0; i < 40; ++i) {
        const float x = float(rng() % 802);
        const float y = float(rng() % 626);
        if (i % 10 == 0) {
            lesson.click(i % 20 == 0 ? orvanel::controls::Command3 : orvanel::controls::Command5);
        }
        lesson.boardPress(orvanel::kLeftButton, orvanel::kLeftButton, 0, i % 3 ? x : 550, y);
        lesson.boardMove(orvanel::kLeftButton, 0, x + 40, y + 30);
        lesson.boardRelease(orvanel::kLeftButton, 0, 0, x + 40, y + 30);
    }
    put(dir + "/board.png", lesson.pictureWithBoard(emptyPicture()));
    put(dir + "/board-chunk", orvanel::writeBoard(lesson.window()));
    const std::string link = lesson.link();
    put(dir + "/link", {reinterpret_cast<const std::uint8_t*>(link.data()), link.size()});
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* dir = std::getenv("ORVANEL_FUZZ_SEEDS")) {
        writeSeeds(dir);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static orvanel::Session session(gMeasurer);
    static orvanel::PixelBuffer pixels(orvanel::kBoardSize, orvanel::kBoardGreen);
    static const orvanel::Form1::Snapshot base = session.window().snapshot();
    const std::span<const std::uint8_t> bytes(data, size);
    orvanel::Form1::Snapshot state = base;
    orvanel::readBoardChunk(bytes, state, pixels);
    state = base;
    orvanel::readBoard(bytes, state, pixels);
    orvanel::readLink(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
