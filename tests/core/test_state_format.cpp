// SPDX-License-Identifier: MIT
// The window's state and the board's pixels as bytes: what is written reads
// back exactly, and what was not written by the program is refused or read
// as something the window can hold, never read out of bounds.
#include <gtest/gtest.h>

#include "core_fixture.h"
#include "random_actions.h"

#include "format/pixel_runs.h"
#include "window/state_format.h"

#include <random>

using namespace orvanel;
using namespace orvanel::test;

namespace {

std::vector<std::uint8_t> written(const Form1::Snapshot& s) {
    ByteWriter out;
    writeState(s, out);
    return out.take();
}

// Every state a random session passes through reads back, over a fresh
// window, as the very state written.
TEST(StateFormat, ReadsBackEveryStateOfARandomSession) {
    for (const std::uint64_t seed : {11u, 12u, 13u}) {
        std::mt19937_64 rng(seed);
        Session s(testMeasurer());
        const Session fresh(testMeasurer());
        for (int round = 0; round < 300; ++round) {
            randomAction(s, rng);
            const std::vector<std::uint8_t> bytes = written(s.window().snapshot());
            Form1::Snapshot read = fresh.window().snapshot();
            ByteReader in(bytes);
            ASSERT_TRUE(readState(in, read)) << "seed " << seed << ", round " << round;
            EXPECT_TRUE(in.atEnd());
            ASSERT_TRUE(read == s.window().snapshot()) << "seed " << seed << ", round " << round;
        }
    }
}

// Damaged bytes (cut short, bytes changed) are refused, or read as a state
// the window takes and goes on working with.
TEST(StateFormat, DamagedBytesLeaveASoundWindow) {
    std::mt19937_64 rng(5);
    Session s(testMeasurer());
    for (int i = 0; i < 40; ++i) {
        randomAction(s, rng);
    }
    const std::vector<std::uint8_t> good = written(s.window().snapshot());
    int refused = 0;
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes = good;
        if (round % 4 == 0) {
            bytes.resize(rng() % bytes.size());
        }
        for (int flips = 1 + int(rng() % 4); flips > 0 && !bytes.empty(); --flips) {
            bytes[rng() % bytes.size()] ^= std::uint8_t(1 + rng() % 255);
        }
        Form1::Snapshot read = s.window().snapshot();
        ByteReader in(bytes);
        if (!readState(in, read)) {
            ++refused;
            EXPECT_TRUE(read == s.window().snapshot()) << "a refused state changed the window";
            continue;
        }
        Session other(testMeasurer());
        other.window().restore(read);
        for (int i = 0; i < 3; ++i) {
            randomAction(other, rng);
        }
    }
    EXPECT_GT(refused, 500);
}

// Runs of a few colours, read back in pieces of any size; cut or changed,
// they are refused or read as exactly as many pixels, never more.
TEST(PixelRuns, ReadBackInAnyPiecesAndRefuseDamage) {
    std::mt19937_64 rng(9);
    for (int round = 0; round < 300; ++round) {
        std::vector<Rgb> colors(1 + rng() % 40);
        for (Rgb& c : colors) {
            c = rgb(int(rng() % 256), int(rng() % 256), int(rng() % 256));
        }
        std::vector<Rgb> pixels;
        const std::size_t length = rng() % 6000;
        while (pixels.size() < length) {
            // Two colours most of the time, as the board has them.
            const Rgb c = colors[rng() % (rng() % 2 ? std::min<std::size_t>(2, colors.size())
                                                    : colors.size())];
            pixels.insert(pixels.end(), std::min(length - pixels.size(), 1 + rng() % 300), c);
        }
        ByteWriter out;
        encodePixelRuns(pixels, out);
        const std::vector<std::uint8_t> bytes = out.take();
        EXPECT_LE(bytes.size(), 1 + 3 * colors.size() + 2 * pixels.size() + 8);

        std::vector<Rgb> read(pixels.size());
        ByteReader in(bytes);
        PixelRunDecoder decoder(in, read.size());
        for (std::size_t at = 0; at < read.size();) {
            const std::size_t piece = std::min(read.size() - at, 1 + rng() % 700);
            ASSERT_TRUE(decoder.read({read.data() + at, piece}));
            at += piece;
        }
        EXPECT_TRUE(decoder.finished());
        const auto differs = std::mismatch(read.begin(), read.end(), pixels.begin());
        ASSERT_TRUE(differs.first == read.end())
            << "round " << round << ": pixel " << differs.first - read.begin() << " of "
            << pixels.size() << " read wrong";

        std::vector<std::uint8_t> damaged = bytes;
        damaged.resize(rng() % (damaged.size() + 1));
        if (!damaged.empty()) {
            damaged[rng() % damaged.size()] ^= std::uint8_t(1 + rng() % 255);
        }
        ByteReader bad(damaged);
        std::vector<Rgb> into(pixels.size() + rng() % 3);
        decodePixelRuns(bad, into); // under the sanitizers: never out of bounds
    }
}

} // namespace
