// SPDX-License-Identifier: MIT
// A child at the board: a long seeded random session of presses, moves and
// releases of every button anywhere (also far off the board, also releases
// without presses and two buttons at once), and clicks on every button, box
// and option button, checking after every event what must always hold. A
// failure is shrunk to a short sequence that still fails, and printed with
// the seed. ORVANEL_SEED and ORVANEL_RANDOM_EVENTS choose another seed and
// length.
#include <gtest/gtest.h>

#include "ascii_image.h"
#include "core_fixture.h"

#include "figure/angles.h"
#include "tools/straight_lines.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace orvanel;
using namespace orvanel::test;

namespace {

struct Event {
    enum Kind { Press, Move, Release, Click } kind;
    int code;   // button code 1, 2, 4 for the mouse; the control's number for a click
    PointF pos; // board position of a mouse event
};

// The controls a click may reach: every button but 終了, every box and
// option button.
std::vector<ControlId> clickableControls() {
    using namespace controls;
    std::vector<ControlId> ids{Command1, Command3, Command4, Command5, Check2, Check3};
    ids.insert(ids.end(), Check1.begin(), Check1.end());
    ids.insert(ids.end(), Option1.begin(), Option1.end());
    ids.insert(ids.end(), Option2.begin(), Option2.end());
    return ids;
}

std::string describe(const Event& e) {
    static const char* kinds[] = {"press", "move", "release", "click"};
    char text[128];
    if (e.kind == Event::Click) {
        std::snprintf(text, sizeof text, "click control %d (%s)", e.code,
                      Form1::design(clickableControls()[std::size_t(e.code)]).objectName().c_str());
    } else {
        std::snprintf(text, sizeof text, "%s button %d at (%.10g, %.10g)", kinds[e.kind], e.code,
                      e.pos.x, e.pos.y);
    }
    return text;
}

// Plays events on a fresh window, checking after each one.
class Player {
public:
    Player()
        : window_(std::make_unique<Window>()), pointer_(*window_), controls_(clickableControls()) {
        measureAngles(window_->state().figure, dirs_);
    }
    int controlCount() const { return int(controls_.size()); }
    const Form1& window() const { return *window_; }
    // The moves played while a press held a vertex: drag steps.
    long dragMoves() const { return dragMoves_; }

    // Returns what went wrong, or an empty string.
    std::string play(const Event& e) {
        const auto start = std::chrono::steady_clock::now();
        switch (e.kind) {
        case Event::Press:
            pointer_.press(e.pos, e.code);
            break;
        case Event::Move:
            dragMoves_ += window_->state().dragVertex != kNoVertex ? 1 : 0;
            pointer_.move(e.pos);
            break;
        case Event::Release:
            pointer_.release(e.pos, e.code);
            break;
        case Event::Click:
            window_->click(controls_[std::size_t(e.code)]); // nothing while it is disabled
            break;
        }
        const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - start)
                                .count();
        if (millis > 1000) {
            return "the event took " + std::to_string(millis) + " ms";
        }
        return check();
    }

private:
    std::string check() {
        using namespace controls;
        const Form1& w = *window_;
        const WindowState& v = w.state();
        int selected = 0;
        for (int i = 0; i < int(Option1.size()); ++i) {
            const ControlState& option = w.control(Option1[i]);
            selected += option.checked;
            if (option.enabled != (v.memoOn == 1)) {
                return "Option1(" + std::to_string(i) + ") enabled " +
                       std::to_string(option.enabled) + " with memoOn " + std::to_string(v.memoOn);
            }
        }
        for (int i = 0; i < int(Option2.size()); ++i) {
            const ControlState& option = w.control(Option2[i]);
            selected += option.checked;
            if (option.enabled != (v.lineMode == 1)) {
                return "Option2(" + std::to_string(i) + ") enabled " +
                       std::to_string(option.enabled) + " with lineMode " +
                       std::to_string(v.lineMode);
            }
        }
        if (selected > 1) {
            return std::to_string(selected) + " option buttons selected";
        }
        if (v.memoOn == 1 && v.lineMode == 1) {
            return "memo pen and line tool both on";
        }
        if (w.control(Command3).bold != (v.memoOn == 1) ||
            w.control(Command4).bold != (v.gridShown == 1) ||
            w.control(Command5).bold != (v.lineMode == 1)) {
            return "a tool button's weight disagrees with its tool";
        }
        const BoardLayer& l = w.layer();
        for (const LineRow row : {LineRow::Line2, LineRow::Line3}) {
            for (const LineObject& line : l.row(row)) {
                if (line.visible != (v.gridShown == 1)) {
                    return "a grid line's visibility disagrees with gridShown";
                }
            }
        }
        if (v.lineMode == 1 && (v.nextLineNumber < 1 || v.nextLineNumber > 5)) {
            return "nextLineNumber " + std::to_string(v.nextLineNumber) +
                   " while the line tool is on";
        }
        for (int i = 0; i < kLineCount; ++i) {
            const bool drawn = v.lineDrawing == 1 && i == v.nextLineNumber - 1;
            const LineObject& line = l.line(LineRow::Line4, i);
            if (!drawn && !w.control(Check1[i]).checked &&
                (line.p1.x != kParkedX || line.p2.x != kParkedX)) {
                return "line " + std::to_string(i + 1) + " is unticked but not parked";
            }
        }
        if (v.dragVertex != kNoVertex && v.dragVertex != kVertexA && v.dragVertex != kVertexD) {
            return "dragVertex " + std::to_string(int(v.dragVertex));
        }
        // A gesture belongs to its tool: no vertex is held while another tool
        // is on, no pen is down without the memo pen, no line is stretched
        // without the line tool.
        if (v.dragVertex != kNoVertex && (v.memoOn == 1 || v.lineMode == 1)) {
            return "vertex " + std::to_string(int(v.dragVertex)) + " held while another tool is on";
        }
        if (v.penDown == 1 && v.memoOn == 0) {
            return "the pen is down with the memo pen off";
        }
        if (v.lineDrawing == 1 && v.lineMode == 0) {
            return "a line is being stretched with the line tool off";
        }
        const std::array<PointF, kVertexCount> vertices = v.figure.vertices();
        for (int i = 0; i < kVertexCount; ++i) {
            const PointF offset = l.letter(i).topLeft - vertices[i];
            const PointF expected = kLetterOffsets[i];
            const double slack =
                1e-9 * std::max({1.0, std::abs(vertices[i].x), std::abs(vertices[i].y)});
            if (std::abs(offset.x - expected.x) > slack ||
                std::abs(offset.y - expected.y) > slack) {
                return "letter " + std::to_string(i) + " left its vertex";
            }
            const LineObject& side = l.line(LineRow::Line1, i);
            if (side.p1 != vertices[i] || side.p2 != vertices[(i + 1) % kVertexCount]) {
                return "side " + std::to_string(i) + " does not run between its vertices";
            }
        }
        const std::array<int, 4> shown = measureAngles(v.figure, dirs_);
        for (int i = 0; i < kVertexCount; ++i) {
            const std::string& caption = w.control(Label5[i]).caption;
            if (caption != angleCaption(shown[i])) {
                return "read-out " + std::to_string(i) + " shows '" + caption +
                       "', the figure measures " + std::to_string(shown[i]);
            }
        }
        return {};
    }

    std::unique_ptr<Window> window_;
    Pointer pointer_;
    std::vector<ControlId> controls_;
    Directions dirs_; // measured alongside the window's, kept across coincidences
    long dragMoves_ = 0;
};

// The index of the event after which a fresh session fails, or -1.
int firstFailure(const std::vector<Event>& events, std::string* what = nullptr) {
    Player player;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const std::string problem = player.play(events[i]);
        if (!problem.empty()) {
            if (what) {
                *what = problem;
            }
            return int(i);
        }
    }
    return -1;
}

// Removes chunks of ever smaller size while the sequence still fails.
std::vector<Event> shrink(std::vector<Event> events) {
    for (std::size_t chunk = events.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t start = 0; start + chunk <= events.size();) {
            std::vector<Event> candidate(events.begin(), events.begin() + std::ptrdiff_t(start));
            candidate.insert(candidate.end(), events.begin() + std::ptrdiff_t(start + chunk),
                             events.end());
            const int failure = firstFailure(candidate);
            if (failure >= 0) {
                candidate.resize(std::size_t(failure) + 1);
                events = std::move(candidate);
            } else {
                start += chunk;
            }
        }
    }
    return events;
}

// The environment variable's whole number, or `fallback` when it is not set.
long long environmentNumber(const char* name, long long fallback) {
    const char* value = std::getenv(name);
    return value ? std::strtoll(value, nullptr, 10) : fallback;
}

TEST(RandomSession, InvariantsHoldThroughARandomSession) {
    const auto seed = std::uint32_t(environmentNumber("ORVANEL_SEED", 20261208));
    const int count = int(environmentNumber("ORVANEL_RANDOM_EVENTS", 200'000));
    std::mt19937_64 rng(seed);
    Player player;
    const auto somewhere = [&]() -> PointF {
        const int where = bounded(rng, 0, 100);
        if (where < 55) { // on the board
            return {uniform(rng, 0, 802), uniform(rng, 0, 626)};
        }
        if (where < 75) { // near A or D, wherever they are, so that drags happen
            const FigureState& f = player.window().state().figure;
            return (bounded(rng, 0, 2) ? f.a() : f.d()) +
                   PointF{uniform(rng, -60, 60), uniform(rng, -60, 60)};
        }
        if (where < 92) { // just outside
            return {uniform(rng, -100, 902), uniform(rng, -100, 726)};
        }
        return {uniform(rng, -100'000, 100'000), uniform(rng, -100'000, 100'000)};
    };
    const int buttons[3] = {kLeftButton, kRightButton, kMiddleButton};
    std::vector<Event> events;
    events.reserve(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const int kind = bounded(rng, 0, 100);
        Event e{};
        if (kind < 10) {
            e = {Event::Press, buttons[bounded(rng, 0, kind < 8 ? 1 : 3)], somewhere()};
        } else if (kind < 82) {
            e = {Event::Move, 0, somewhere()};
        } else if (kind < 94) {
            e = {Event::Release, buttons[bounded(rng, 0, kind < 92 ? 1 : 3)], somewhere()};
        } else {
            e = {Event::Click, bounded(rng, 0, player.controlCount()), {}};
        }
        // Moves mostly follow on from the last position, a few pixels on.
        if (e.kind == Event::Move && !events.empty() && bounded(rng, 0, 4) != 0) {
            e.pos = events.back().pos + PointF{uniform(rng, -15, 15), uniform(rng, -15, 15)};
        }
        events.push_back(e);
        const std::string problem = player.play(e);
        if (!problem.empty()) {
            const std::vector<Event> shortest = shrink(events);
            std::string what;
            firstFailure(shortest, &what);
            std::string report = "seed " + std::to_string(seed) + ", event " + std::to_string(i) +
                                 ": " + (what.empty() ? problem : what) +
                                 "\nshortest failing sequence (" + std::to_string(shortest.size()) +
                                 " events), each on a fresh window:\n";
            for (const Event& s : shortest) {
                report += "  " + describe(s) + "\n";
            }
            FAIL() << report;
        }
    }
    std::printf("seed %u: %d events (%ld of them drag steps), invariants held after each\n",
                unsigned(seed), count, player.dragMoves());
}

} // namespace
