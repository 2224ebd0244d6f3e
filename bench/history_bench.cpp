// SPDX-License-Identifier: MIT
// What undo and redo cost: the memory of 100 pen strokes and of 100 drags,
// each action really performed (the figure moved, the strokes drawn, the
// steps kept are counted), and the time of one undo at its slowest.
#include "window/session.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <malloc.h>
#include <random>

using namespace orvanel;

namespace {

// Sizes captions as a font of the design's size would, roughly; the history
// does not depend on it.
class RoughMeasurer : public TextMeasurer {
public:
    Size textSize(const FontSpec& font, std::string_view text) const override {
        const int pixels = font.face == Face::Default ? 12 : int(std::lround(font.points * 4 / 3));
        return {int(text.size()) * pixels / 2, pixels + pixels / 5};
    }
};

const RoughMeasurer gMeasurer;

// A stroke of the bold blue pen across the board: 60 moves of random
// direction and length up to 40 pixels, from a place away from the letters
// (a press on a letter draws nothing).
void stroke(Session& s, std::mt19937& rng) {
    std::uniform_real_distribution<float> x(100, 450), y(100, 300), d(-40, 40);
    float px = x(rng), py = y(rng);
    s.boardPress(kLeftButton, kLeftButton, 0, px, py);
    for (int i = 0; i < 60; ++i) {
        px = std::clamp(px + d(rng), 0.f, 801.f);
        py = std::clamp(py + d(rng), 0.f, 625.f);
        s.boardMove(kLeftButton, 0, px, py);
    }
    s.boardRelease(kLeftButton, 0, 0, px, py);
}

// D dragged 60 pixels in steps of 2, to the right while it lies left of
// x = 550, else to the left.
void dragD(Session& s) {
    const PointF d = s.window().state().figure.d();
    const float step = d.x < 550 ? 2 : -2;
    s.boardPress(kLeftButton, kLeftButton, 0, float(d.x), float(d.y));
    for (int i = 1; i <= 30; ++i) {
        s.boardMove(kLeftButton, 0, float(d.x) + step * float(i), float(d.y));
    }
    s.boardRelease(kLeftButton, 0, 0, float(d.x) + step * 30, float(d.y));
}

// A zigzag of the bold pen over the whole board: 40 strokes down and up,
// 20 pixels apart, each of 16 moves, with some jitter so no two are alike.
void zigzag(Session& s, std::mt19937& rng) {
    std::uniform_real_distribution<float> jitter(-8, 8);
    float x = 5 + jitter(rng) + 8, y = 5;
    s.boardPress(kLeftButton, kLeftButton, 0, x, y);
    for (int column = 0; column < 40; ++column) {
        for (int i = 1; i <= 16; ++i) {
            y = column % 2 == 0 ? 5 + 38.5f * float(i) : 621 - 38.5f * float(i);
            s.boardMove(kLeftButton, 0, std::clamp(x + jitter(rng), 0.f, 801.f), y);
        }
        x += 20;
    }
    s.boardRelease(kLeftButton, 0, 0, x, y);
}

// D dragged with nonClear ticked around the whole board and back, leaving
// its marks everywhere: 200 moves.
void dragAround(Session& s, std::mt19937& rng) {
    std::uniform_real_distribution<float> jitter(-3, 3);
    const PointF d = s.window().state().figure.d();
    s.boardPress(kLeftButton, kLeftButton, 0, float(d.x), float(d.y));
    for (int i = 1; i <= 200; ++i) {
        const double t = i * 6.2832 / 200;
        s.boardMove(kLeftButton, 0, float(d.x - 350 * std::sin(t)) + jitter(rng),
                    float(d.y - 250 * std::sin(2 * t)) + jitter(rng));
    }
    s.boardRelease(kLeftButton, 0, 0, float(d.x), float(d.y));
}

struct Figures {
    std::size_t steps;
    double megabytes;     // what the history says it holds
    double heapMegabytes; // what the heap grew by meanwhile, for proof
    double slowestUndoMicros;
};

double heapInUse() {
    return double(mallinfo2().uordblks) / (1 << 20);
}

// Clicks `setup`, performs `count` actions, then undoes every step kept,
// timing each, and checks that the board is back as it stood before the
// oldest step kept.
template <typename Action>
Figures actions(std::initializer_list<ControlId> setup, int count, Action action) {
    Session s(gMeasurer);
    for (const ControlId id : setup) {
        s.click(id);
    }
    const std::size_t before = s.history().stepCount();
    const PixelBuffer start = s.window().surface().pixels();
    const double heapBefore = heapInUse();
    std::mt19937 rng(7);
    for (int i = 0; i < count; ++i) {
        action(s, rng);
    }
    // A step is kept only for an action that changed what the window shows,
    // so the steps counted are the proof that the actions happened.
    const std::size_t kept = s.history().stepCount();
    Figures f{std::min(kept, std::size_t(count)), double(s.history().bytes()) / (1 << 20),
              heapInUse() - heapBefore, 0};
    for (std::size_t i = 0; i < kept; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        s.shortcut(Key::Z, false);
        const std::chrono::duration<double, std::micro> took =
            std::chrono::steady_clock::now() - t0;
        f.slowestUndoMicros = std::max(f.slowestUndoMicros, took.count());
    }
    if (kept == before + std::size_t(count) && !(s.window().surface().pixels() == start)) {
        std::fprintf(stderr, "the undos did not bring the board back\n");
    }
    return f;
}

void undo_redo_drag(benchmark::State& state) {
    Session s(gMeasurer);
    dragD(s);
    for (auto _ : state) {
        s.shortcut(Key::Z, false);
        s.shortcut(Key::Y, false);
    }
}
BENCHMARK(undo_redo_drag);

void action_record(benchmark::State& state) {
    Session s(gMeasurer);
    for (auto _ : state) {
        s.click(controls::Check3); // one click, recorded as a step
    }
}
BENCHMARK(action_record);

} // namespace

int main(int argc, char* argv[]) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    using namespace controls;
    const auto drag = [](Session& s, std::mt19937&) { dragD(s); };
    const auto zigzagOrWipe = [n = 0](Session& s, std::mt19937& rng) mutable {
        // Every other action a right click wipes the board the zigzag filled.
        if (n++ % 2 == 1) {
            s.boardPress(kRightButton, kRightButton, 0, 400, 300);
            s.boardRelease(kRightButton, 0, 0, 400, 300);
        } else {
            zigzag(s, rng);
        }
    };
    std::printf("\n%-44s %6s %10s %10s %14s\n", "actions", "steps", "history", "heap grew",
                "slowest undo");
    const auto row = [](const char* name, int count, const Figures& f) {
        std::printf("%5d %-38s %6zu %7.2f MB %7.2f MB %11.1f us\n", count, name, f.steps,
                    f.megabytes, f.heapMegabytes, f.slowestUndoMicros);
    };
    row("strokes of the bold pen", 100, actions({Command3, Option1[6]}, 100, stroke));
    row("drags of D", 100, actions({}, 100, drag));
    row("drags of D with nonClear", 100, actions({Check3}, 100, drag));
    bool pass = true;
    for (const int count : {100, 1000}) {
        const Figures strokes = actions({Command3, Option1[6]}, count, zigzagOrWipe);
        const Figures drags = actions({Check3}, count, dragAround);
        row("board-wide zigzags and right clicks", count, strokes);
        row("board-wide drags of D with nonClear", count, drags);
        for (const Figures& f : {strokes, drags}) {
            pass = pass && f.megabytes <= 32 && f.steps >= 1 && (count > 100 || f.steps == 100);
        }
    }
    std::printf("%s all the history holds within 32 MB; 100 board-wide actions all kept\n",
                pass ? "PASS" : "FAIL");
    return 0;
}
