// SPDX-License-Identifier: MIT
// The native side of the browser edition's tests: plays an input sequence
// (sequence.txt) on the core's session as a shell would, keeping the board's
// picture the way the browser does, and prints in JSON what every check
// recorded (read-out, controls, letters, the pointer moves made with a
// button held, a checksum of the picture's R, G, B values). The Node and
// browser tests play the same file and compare. A `time` step
// (bench/web/drag-step.txt) times the drag step for the browser edition's
// benchmark. It also writes and opens board files, so that a board saved by
// the page opens natively and the other way round.
//
//   orvanel_web_reference [--scale K] SEQUENCE_FILE
//       the picture at K device pixels per board pixel (BoardScale::at(K)),
//       as a screen of that size shows it; at 1 by default
//   orvanel_web_reference --save BOARD_FILE SEQUENCE_FILE
//       plays the sequence and saves the board as it is at the end
//   orvanel_web_reference --open BOARD_FILE
//       opens the file in a fresh window and prints the check "opened"
#include "core_fixture.h"
#include "format/png_chunks.h"
#include "window/board_file.h"
#include "window/board_screen.h"
#include "window/design.h"
#include "window/form1.h"
#include "window/session.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace orvanel;

namespace {

// FNV-1a over the R, G, B bytes of every pixel, row by row.
std::uint32_t checksum(const PixelBuffer& pixels) {
    std::uint32_t h = 2166136261u;
    const auto add = [&h](int byte) {
        h ^= std::uint32_t(byte);
        h *= 16777619u;
    };
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            const Rgb c = pixels.pixel(x, y);
            add(redOf(c));
            add(greenOf(c));
            add(blueOf(c));
        }
    }
    return h;
}

std::string json(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + '"';
}

// The controls as one line: for each, in the order of the design, its object
// name, then c (checked), d (disabled), h (hidden), b (bold caption) as they
// apply, then its caption.
std::string controlsLine(const Form1& w) {
    std::string line;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlDesign& d = kControls[i];
        const ControlState& s = w.control(ControlId(i));
        std::string flags;
        if (s.checked) {
            flags += 'c';
        }
        if (!s.enabled && d.kind != ControlKind::Label) {
            flags += 'd';
        }
        if (!s.visible) {
            flags += 'h';
        }
        if (s.bold && d.kind == ControlKind::Button) {
            flags += 'b';
        }
        line += (i ? "|" : "") + d.objectName() + ':' + flags + ':' + s.caption;
    }
    return line;
}

// The positions of the timed drag: a Lissajous figure over the board and past
// its edges, entered from the vertex.
std::vector<PointF> timedPath(PointF vertex, int count) {
    std::vector<PointF> path;
    for (int i = 0; i < count; ++i) {
        const double t = 2 * std::numbers::pi * i / count;
        const PointF sweep{401 + 520 * std::sin(3 * t + 0.4), 313 + 400 * std::sin(2 * t)};
        const double blend = std::min(1.0, i / 50.0);
        path.push_back(vertex * (1 - blend) + sweep * blend);
    }
    return path;
}

// Times the drag step the way bench/web/page-speed.js does in Node and in
// the page: a fresh window, a press on the vertex, one pass over the path to
// warm up, then `rounds` passes timed in batches; the median time of one
// step. `steps` counts the moves made while the press held a vertex, and
// `letter` is where the held vertex's letter ended.
double timeDragSteps(PointF vertex, int count, int batch, int rounds, long& steps, Rect& letter) {
    // The sequence never presses near a letter: the letters' exact size does
    // not matter, and the core tests' measure serves.
    test::Window w;
    const std::vector<PointF> path = timedPath(vertex, count);
    w.boardPress(kLeftButton, kLeftButton, 0, float(path[0].x), float(path[0].y));
    const HeldVertex held = w.state().dragVertex;
    std::vector<double> perStep;
    for (int round = 0; round <= rounds; ++round) {
        for (int k = 1; k + batch <= count; k += batch) {
            const auto start = std::chrono::steady_clock::now();
            for (int i = k; i < k + batch; ++i) {
                steps += w.state().dragVertex != kNoVertex ? 1 : 0;
                w.boardMove(kLeftButton, 0, float(path[i].x), float(path[i].y));
            }
            const std::chrono::duration<double, std::micro> took =
                std::chrono::steady_clock::now() - start;
            if (round > 0) {
                perStep.push_back(took.count() / batch);
            }
        }
    }
    if (held != kNoVertex) {
        letter = w.layer().letter(held == kVertexA ? 0 : 3).box();
    }
    std::sort(perStep.begin(), perStep.end());
    return perStep[perStep.size() / 2];
}

// The least picture a PNG file holds: one pixel of the board's green. The
// board travels beside the picture, which the core never reads.
std::vector<std::uint8_t> onePixelPng() {
    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    const auto chunk = [&png](std::string_view type, std::vector<std::uint8_t> data) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            png.push_back(std::uint8_t(data.size() >> shift));
        }
        const std::size_t typeAt = png.size();
        png.insert(png.end(), type.begin(), type.end());
        png.insert(png.end(), data.begin(), data.end());
        const std::uint32_t crc = crc32(std::span(png).subspan(typeAt));
        for (int shift = 24; shift >= 0; shift -= 8) {
            png.push_back(std::uint8_t(crc >> shift));
        }
    };
    // 1 x 1, eight bits a channel, RGB.
    chunk("IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 2, 0, 0, 0});
    // One row, filter 0, in a stored deflate block, then its Adler-32.
    const std::uint8_t row[] = {0, std::uint8_t(redOf(kBoardGreen)),
                                std::uint8_t(greenOf(kBoardGreen)),
                                std::uint8_t(blueOf(kBoardGreen))};
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : row) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    const std::uint32_t adler = b << 16 | a;
    chunk("IDAT", {0x78, 0x01, 0x01, 4, 0, 0xfb, 0xff, row[0], row[1], row[2], row[3],
                   std::uint8_t(adler >> 24), std::uint8_t(adler >> 16), std::uint8_t(adler >> 8),
                   std::uint8_t(adler)});
    chunk("IEND", {});
    return png;
}

class Player {
public:
    explicit Player(BoardScale scale = {}) : screen_(s_, scale) {}

    // Saves the board as it is now, in a one-pixel picture.
    void save(const char* path) const {
        const std::vector<std::uint8_t> file = s_.pictureWithBoard(onePixelPng());
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        if (!out.flush()) {
            throw std::runtime_error(std::string("cannot write ") + path);
        }
    }

    // Opens a board's file as the shells do, and records the check "opened".
    void open(const char* path) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
        if (!in.eof() && !in) {
            throw std::runtime_error(std::string("cannot read ") + path);
        }
        if (const std::optional<Notice> problem = s_.openBoard(file)) {
            throw std::runtime_error(std::string(path) + ": " +
                                     std::string(noticeText(*problem).english));
        }
        update();
        check("opened");
        print();
    }

    void play(std::istream& in) {
        std::string text;
        int number = 0;
        while (std::getline(in, text)) {
            ++number;
            std::istringstream line(text);
            std::string op;
            if (!(line >> op) || op[0] == '#') {
                continue;
            }
            try {
                step(op, line);
            } catch (const std::exception& e) {
                throw std::runtime_error("line " + std::to_string(number) + ": " + e.what());
            }
        }
    }

    void print() const {
        std::cout << "{\"checks\": [" << checks_
                  << "],\n \"time\": " << (time_.empty() ? "null" : time_) << "}\n";
    }

private:
    void step(const std::string& op, std::istringstream& line) {
        int x = 0;
        int y = 0;
        if (op == "input") {
            std::string mode;
            line >> mode;
            if (mode != "mouse" && mode != "touch") {
                throw std::runtime_error("input is mouse or touch");
            }
            touch_ = mode == "touch";
            at_ = false;
        } else if (op == "move") {
            need(line >> x >> y);
            move(x, y);
        } else if (op == "press" || op == "release") {
            int button = kLeftButton;
            need(line >> x >> y);
            line >> button;
            if (op == "press") {
                press(x, y, button);
            } else {
                release(x, y, button);
            }
        } else if (op == "drag") {
            int x1 = 0;
            int y1 = 0;
            int n = 0;
            need(line >> x >> y >> x1 >> y1 >> n);
            if (!touch_) {
                move(x, y);
            }
            press(x, y, kLeftButton);
            for (int i = 1; i <= n; ++i) {
                move(x + (x1 - x) * i / n, y + (y1 - y) * i / n);
            }
            release(x1, y1, kLeftButton);
        } else if (op == "click") {
            std::string name;
            need(line >> name);
            click(name);
            at_ = false; // the pointer went to the control
        } else if (op == "key" || op == "shortcut") {
            std::string name;
            std::string shift;
            need(line >> name);
            line >> shift;
            const std::optional<Key> key = keyNamed(name);
            if (!key || !(shift.empty() || shift == "shift")) {
                throw std::runtime_error("no key " + name + " " + shift);
            }
            if (op == "key") {
                s_.boardKey(*key, !shift.empty());
            } else {
                s_.shortcut(*key, !shift.empty());
            }
            update();
        } else if (op == "check") {
            std::string name;
            need(line >> name);
            check(name);
        } else if (op == "time") {
            int count = 0;
            int batch = 0;
            int rounds = 0;
            need(line >> x >> y >> count >> batch >> rounds);
            long steps = 0;
            Rect letter;
            const double median =
                timeDragSteps(PointF{double(x), double(y)}, count, batch, rounds, steps, letter);
            char text[160];
            std::snprintf(text, sizeof text,
                          "{\"medianMicros\": %.4f, \"steps\": %ld, \"letter\": [%d, %d]}", median,
                          steps, letter.left, letter.top);
            time_ = text;
        } else {
            throw std::runtime_error("unknown step " + op);
        }
    }

    static void need(const std::istream& line) {
        if (!line) {
            throw std::runtime_error("missing numbers");
        }
    }

    void move(int x, int y) {
        if (touch_ && held_ == 0) {
            throw std::runtime_error("a finger moves only while it touches");
        }
        heldMoves_ += held_ != 0 ? 1 : 0;
        s_.boardMove(held_, 0, float(x), float(y));
        at_ = true;
        x_ = x;
        y_ = y;
        update();
    }

    // A real mouse presses and releases where it is; a finger lands anywhere,
    // one at a time, and lifts where it last was.
    void press(int x, int y, int button) {
        if (touch_ ? held_ != 0 || button != kLeftButton : !at_ || x != x_ || y != y_) {
            throw std::runtime_error(touch_ ? "one finger, acting as the left button"
                                            : "a press comes where the pointer moved");
        }
        held_ |= button;
        s_.boardPress(button, held_, 0, float(x), float(y));
        at_ = true;
        x_ = x;
        y_ = y;
        update();
    }

    void release(int x, int y, int button) {
        if (!(held_ & button) || (at_ && (x != x_ || y != y_))) {
            throw std::runtime_error("a release comes where the pointer is, of a held button");
        }
        held_ &= ~button;
        s_.boardRelease(button, held_, 0, float(x), float(y));
        update();
    }

    void click(const std::string& name) {
        if (held_ != 0) {
            throw std::runtime_error("a click while a button is held on the board");
        }
        for (std::size_t i = 0; i < kControlCount; ++i) {
            if (kControls[i].objectName() == name) {
                // The control takes the keyboard focus from the board.
                s_.boardFocusOut();
                s_.click(ControlId(i));
                update();
                return;
            }
        }
        throw std::runtime_error("no control " + name);
    }

    void update() {
        s_.window().takeChangedControls([](ControlId) {});
        screen_.update(s_, [](const Rect&) {});
    }

    void check(const std::string& name) {
        std::string readout;
        for (const ControlId id : controls::Label5) {
            readout += (readout.empty() ? "" : ", ") + json(w_.control(id).caption);
        }
        std::string letters;
        for (const LetterObject& l : w_.layer().letters()) {
            const Rect box = l.box();
            letters += (letters.empty() ? "[" : ", [") + std::to_string(box.left) + ", " +
                       std::to_string(box.top) + "]";
        }
        char sum[16];
        std::snprintf(sum, sizeof sum, "%08x", unsigned(checksum(screen_.pixels())));
        checks_ += std::string(checks_.empty() ? "\n  " : ",\n  ") + "{\"name\": " + json(name) +
                   ", \"readout\": [" + readout + "], \"readoutShown\": " +
                   (w_.control(controls::Label5[0]).visible ? "true" : "false") +
                   ", \"letters\": [" + letters + "], \"checksum\": " + json(sum) +
                   ", \"heldMoves\": " + std::to_string(heldMoves_) +
                   ", \"controls\": " + json(controlsLine(w_)) + "}";
    }

    Session s_{test::testMeasurer()};
    const Form1& w_ = s_.window();
    BoardScreen screen_;
    bool touch_ = false;
    int held_ = 0;
    bool at_ = false; // the pointer is on the board, at (x_, y_)
    int x_ = 0;
    int y_ = 0;
    long heldMoves_ = 0; // pointer moves made with a button held
    std::string checks_;
    std::string time_;
};

} // namespace

int main(int argc, char* argv[]) {
    const std::string command = argc > 1 ? argv[1] : "";
    const bool saving = command == "--save" && argc == 4;
    if (command == "--open" && argc == 3) {
        try {
            Player().open(argv[2]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
        return 0;
    }
    // The picture's scale: a factor from 0.25 to 8.
    double scale = 1;
    const bool scaled = command == "--scale" && argc == 4;
    if (scaled) {
        char* end = nullptr;
        scale = std::strtod(argv[2], &end);
        if (*end != '\0' || !(scale >= 0.25 && scale <= 8)) {
            std::fprintf(stderr, "%s: no scale from 0.25 to 8\n", argv[2]);
            return 2;
        }
    }
    if (!saving && !scaled && (argc != 2 || command.starts_with("--"))) {
        std::fprintf(
            stderr,
            "usage: %s [--scale K] SEQUENCE_FILE\n       %s --save BOARD_FILE SEQUENCE_FILE\n"
            "       %s --open BOARD_FILE\n",
            argv[0], argv[0], argv[0]);
        return 2;
    }
    const char* sequence = argv[argc - 1];
    std::ifstream in(sequence);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", sequence);
        return 2;
    }
    try {
        Player player(BoardScale::at(scale));
        player.play(in);
        if (saving) {
            player.save(argv[2]);
        }
        player.print();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", sequence, e.what());
        return 1;
    }
    return 0;
}
