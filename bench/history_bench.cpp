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

struct Figures {
    std::size_t steps;
    double megabytes;
    double slowestUndoMicros;
};

// Clicks `setup`, performs 100 actions, then undoes them all, timing each,
// and checks that the board is back as it started.
template <typename Action>
Figures hundredActions(std::initializer_list<ControlId> setup, Action action) {
    Session s(gMeasurer);
    for (const ControlId id : setup) {
        s.click(id);
    }
    const std::size_t before = s.history().stepCount();
    const PixelBuffer start = s.window().surface().pixels();
    std::mt19937 rng(7);
    for (int i = 0; i < 100; ++i) {
        action(s, rng);
    }
    // A step is kept only for an action that changed what the window shows,
    // so 100 steps are the proof that 100 actions happened.
    Figures f{s.history().stepCount() - before, double(s.history().bytes()) / (1 << 20), 0};
    for (std::size_t i = 0; i < f.steps; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        s.shortcut(Key::Z, false);
        const std::chrono::duration<double, std::micro> took =
            std::chrono::steady_clock::now() - t0;
        f.slowestUndoMicros = std::max(f.slowestUndoMicros, took.count());
    }
    if (!(s.window().surface().pixels() == start)) {
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
    const Figures strokes = hundredActions({Command3, Option1[6]}, stroke); // the bold blue pen
    const Figures drags = hundredActions({}, drag);
    const Figures kept = hundredActions({Check3}, drag);
    std::printf("\n%-36s %6s %10s %16s\n", "100 actions", "steps", "memory", "slowest undo");
    const auto row = [](const char* name, const Figures& f) {
        std::printf("%-36s %6zu %7.2f MB %13.1f us\n", name, f.steps, f.megabytes,
                    f.slowestUndoMicros);
    };
    row("strokes of the bold pen", strokes);
    row("drags of D", drags);
    row("drags of D with nonClear", kept);
    const bool pass = strokes.steps == 100 && strokes.megabytes <= 32;
    std::printf("%s 100 strokes kept in %.2f MB (target <= 32 MB, 100 steps)\n",
                pass ? "PASS" : "FAIL", strokes.megabytes);
    return 0;
}
