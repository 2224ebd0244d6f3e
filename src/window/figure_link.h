// SPDX-License-Identifier: MIT
// A figure as text, for the page's address: after its '#', a link carries
// where A and D are, which of "angle", "nonClear" and the grid are on, and
// the straight lines placed, with their colours, so that a teacher shares a
// figure by sharing the address. Memo strokes are not in it; a saved board
// carries those.
//
//   v=1&A=612.5,140&D=550,350&angle=1&nonClear=0&grid=1&line1=100,200,700,400,white
//
// Keys may come in any order and all are optional (what is missing is as
// the window starts); coordinates are decimals with at most nine digits
// after the point, within kLinkReach of the board. Anything else (an
// unknown or repeated key, a malformed or out-of-range number, a text
// longer than kLongestLink) makes the link unreadable as a whole.
#pragma once

#include "raster/geometry.h"
#include "tools/straight_lines.h"
#include "window/form1.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace orvanel {

inline constexpr std::size_t kLongestLink = 2000;
inline constexpr double kLinkReach = 100000;

struct FigureLink {
    struct Line {
        PointF p1;
        PointF p2;
        int colorOption = kWhiteLineOption; // which of Option2's colours
        friend bool operator==(const Line&, const Line&) = default;
    };

    PointF a;
    PointF d;
    bool angle = false;
    bool nonClear = false;
    bool grid = false;
    std::array<std::optional<Line>, kLineCount> lines;

    friend bool operator==(const FigureLink&, const FigureLink&) = default;
};

// The link of the window as it is now.
FigureLink linkOf(const Form1& window);
std::string writeLink(const FigureLink& link);
// The link a text (without its '#') describes; none when it is unreadable.
std::optional<FigureLink> readLink(std::string_view text);

} // namespace orvanel
