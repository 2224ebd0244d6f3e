// SPDX-License-Identifier: MIT
// A board saved in its picture and a figure shared as a link: whatever a
// session made opens again exactly, in a fresh window, and whatever else is
// offered is refused without a change or read as a board the window works
// with, never read out of bounds.
#include <gtest/gtest.h>

#include "core_fixture.h"
#include "random_actions.h"

#include "format/png_chunks.h"
#include "window/board_file.h"
#include "window/figure_link.h"
#include "window/state_format.h"

#include <random>

using namespace orvanel;
using namespace orvanel::test;
using namespace orvanel::controls;

namespace {

using Bytes = std::vector<std::uint8_t>;

void chunk(Bytes& out, std::string_view type, const Bytes& data) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(std::uint8_t(data.size() >> shift));
    }
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    const std::uint32_t crc = crc32(std::span(out).subspan(typeAt));
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(std::uint8_t(crc >> shift));
    }
}

// The least a PNG file is, as far as its chunks go: the picture's own bytes
// never matter to a board.
Bytes picture(const Bytes& boardData = {}) {
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    chunk(png, "IHDR", Bytes(13, 1));
    if (!boardData.empty()) {
        chunk(png, kBoardChunk, boardData);
    }
    chunk(png, "IDAT", Bytes(20, 7));
    chunk(png, "IEND", {});
    return png;
}

void expectSameWindow(const Session& a, const Session& b, const std::string& where) {
    EXPECT_TRUE(a.window().snapshot() == b.window().snapshot()) << where;
    EXPECT_TRUE(a.window().surface().pixels() == b.window().surface().pixels()) << where;
}

TEST(BoardFile, EveryBoardOfARandomSessionOpensAgainExactly) {
    std::mt19937_64 rng(21);
    Session s(testMeasurer());
    for (int round = 0; round < 12; ++round) {
        for (int i = 0; i < 25; ++i) {
            randomAction(s, rng);
        }
        const Bytes saved = s.pictureWithBoard(picture());
        Session opened(testMeasurer());
        ASSERT_EQ(opened.openBoard(saved), std::nullopt) << "round " << round;
        expectSameWindow(s, opened, "opened, round " + std::to_string(round));
        // The same actions on both give the same windows: nothing that
        // matters was left out.
        std::mt19937_64 same(round);
        std::mt19937_64 again(round);
        for (int i = 0; i < 5; ++i) {
            randomAction(s, same);
            randomAction(opened, again);
        }
        expectSameWindow(s, opened, "afterwards, round " + std::to_string(round));
        // Opening was one action.
        while (opened.history().canUndo()) {
            opened.shortcut(Key::Z, false);
        }
        expectSameWindow(Session(testMeasurer()), opened, "undone");
    }
}

// A board saved while a button holds it (Ctrl+S during a drag, a stroke, a
// line being stretched) opens as the board it shows, nothing held.
TEST(BoardFile, SavedWhileAButtonIsHeldOpens) {
    for (const ControlId tool : {Command1, Command3, Command5}) {
        SCOPED_TRACE(int(indexOf(tool)));
        Session s(testMeasurer());
        s.click(tool);
        s.boardPress(kLeftButton, kLeftButton, 0, 550, 350);
        s.boardMove(kLeftButton, 0, 580, 380);
        Session opened(testMeasurer());
        ASSERT_EQ(opened.openBoard(s.pictureWithBoard(picture())), std::nullopt);
        EXPECT_TRUE(opened.window().surface().pixels() == s.window().surface().pixels());
        EXPECT_EQ(opened.window().state().figure, s.window().state().figure);
        EXPECT_EQ(opened.window().state().dragVertex, kNoVertex);
    }
}

TEST(BoardFile, WhatIsNoBoardIsRefusedAndChangesNothing) {
    Session s(testMeasurer());
    s.click(controls::Check2);
    const Bytes board = writeBoard(s.window());
    Bytes newer = board;
    newer[0] = 2;
    Bytes hugeState = {1, 0xff, 0xff, 0xff, 0xff, 0x0f};
    Bytes cut = s.pictureWithBoard(picture());
    cut.resize(40);
    Bytes wrongLength = s.pictureWithBoard(picture());
    wrongLength[36] ^= 0x40; // the board chunk's length, now past the file's end
    Bytes tooLarge = s.pictureWithBoard(picture());
    tooLarge.resize(kLargestBoardFile + 1); // a sound board, then zeros after its end
    const struct {
        const char* name;
        Bytes file;
        Notice notice;
    } rows[] = {
        {"nothing", {}, Notice::NotABoard},
        {"random bytes", Bytes(3000, 0x5a), Notice::NotABoard},
        {"a picture without a board", picture(), Notice::NotABoard},
        {"larger than any board's file", tooLarge, Notice::NotABoard},
        {"cut short", cut, Notice::DamagedBoard},
        {"a chunk longer than the file", wrongLength, Notice::DamagedBoard},
        {"a newer format", picture(newer), Notice::NewerBoard},
        {"a huge state", picture(hugeState), Notice::DamagedBoard},
        {"a board of another size", picture([&] {
             Bytes b = board;
             b[b.size() - 40] ^= 1;
             return b;
         }()),
         Notice::DamagedBoard},
    };
    Session target(testMeasurer());
    target.click(controls::Command4);
    const Form1::Snapshot before = target.window().snapshot();
    for (const auto& row : rows) {
        EXPECT_EQ(target.openBoard(row.file), row.notice) << row.name;
        EXPECT_TRUE(target.window().snapshot() == before) << row.name;
        EXPECT_EQ(target.history().stepCount(), 1u) << row.name;
    }
}

// 100,000 damaged boards: bytes changed, cut, repeated or inserted, whole
// numbers made huge. Each is refused or read as a board a window takes.
TEST(BoardFile, DamagedBoardsAreReadWithinBounds) {
    std::mt19937_64 rng(77);
    Session lesson(testMeasurer());
    for (int i = 0; i < 60; ++i) {
        randomAction(lesson, rng);
    }
    const Bytes seeds[] = {writeBoard(Session(testMeasurer()).window()),
                           writeBoard(lesson.window())};
    const Form1::Snapshot base = lesson.window().snapshot();
    Form1::Snapshot state = base;
    PixelBuffer pixels(kBoardSize, kBoardGreen);
    int accepted = 0;
    for (int round = 0; round < 100000; ++round) {
        Bytes b = seeds[rng() % 8 == 0 ? 1 : 0];
        for (int edits = 1 + int(rng() % 3); edits > 0 && !b.empty(); --edits) {
            const std::size_t at = rng() % b.size();
            switch (rng() % 5) {
            case 0:
                b[at] ^= std::uint8_t(1 << (rng() % 8));
                break;
            case 1:
                b.resize(at);
                break;
            case 2:
                b.insert(b.begin() + std::ptrdiff_t(at), std::uint8_t(rng()));
                break;
            case 3: // a varint made huge
                b.insert(b.begin() + std::ptrdiff_t(at), {0xff, 0xff, 0xff, 0xff, 0x7f});
                break;
            default:
                b[at] = std::uint8_t(rng());
                break;
            }
        }
        state = base;
        if (!readBoardChunk(b, state, pixels)) {
            ++accepted;
            if (accepted % 50 == 1) {
                Session other(testMeasurer());
                other.window().restore(state);
                other.window().restoreBoardPixels(pixels.rect(), pixels);
                randomAction(other, rng);
            }
        }
    }
    EXPECT_GT(accepted, 0);
}

TEST(FigureLink, TheFigureOfARandomSessionOpensAgain) {
    std::mt19937_64 rng(31);
    Session s(testMeasurer());
    for (int round = 0; round < 60; ++round) {
        for (int i = 0; i < 8; ++i) {
            randomAction(s, rng);
        }
        const std::string link = s.link();
        Session opened(testMeasurer());
        ASSERT_EQ(opened.openLink(link), std::nullopt) << link;
        // The same link, read-out and marks; the places to a billionth of a
        // pixel, as the link writes them.
        EXPECT_EQ(opened.link(), link);
        for (const ControlId id : controls::Label5) {
            EXPECT_EQ(opened.window().control(id).caption, s.window().control(id).caption) << link;
        }
        const FigureState& f = s.window().state().figure;
        const FigureState& g = opened.window().state().figure;
        for (const auto& [p, q] : {std::pair(f.a(), g.a()), std::pair(f.d(), g.d())}) {
            EXPECT_NEAR(p.x, q.x, 1e-9);
            EXPECT_NEAR(p.y, q.y, 1e-9);
        }
    }
}

TEST(FigureLink, AnythingElseIsRefusedAndChangesNothing) {
    const std::string huge(100000, '9');
    const char* const rows[] = {
        "",
        "A=NaN,150",
        "A=600,150&A=600,150",
        "A=1e9,150",
        "D=550",
        "D=550,350,1",
        "angle=-1",
        "angle=2",
        "grid=yes",
        "line6=1,2,3,4,red",
        "line1=1,2,3,4,green",
        "line1=1,2,3,red",
        "v=2&A=600,150",
        "colour=red",
        "A=600.1234567891,150",
        "A=600,150&",
        "A=+600,150",
        "A=600,99999999",
    };
    Session s(testMeasurer());
    for (const char* row : rows) {
        EXPECT_EQ(s.openLink(row), Notice::BadLink) << row;
    }
    EXPECT_EQ(s.openLink(huge), Notice::BadLink);
    EXPECT_EQ(s.openLink("A=" + huge + ",1"), Notice::BadLink);
    EXPECT_FALSE(s.history().canUndo());
    // What a teacher might write by hand.
    ASSERT_EQ(s.openLink("A=500,100&angle=1&line2=0,300,801,300,red"), std::nullopt);
    EXPECT_EQ(s.window().state().figure.a(), (PointF{500, 100}));
    EXPECT_TRUE(s.window().control(controls::Check1[1]).checked);
    EXPECT_TRUE(s.window().control(controls::Label5[0]).visible);
}

} // namespace
