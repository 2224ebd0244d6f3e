// SPDX-License-Identifier: MIT
// A user acting at random: for tests that play long sessions.
#pragma once

#include "window/session.h"

#include <random>
#include <vector>

namespace orvanel::test {

// One random action: a gesture anywhere on the board (often at a vertex), or
// a click on a control other than "終了".
inline void randomAction(Session& s, std::mt19937_64& rng) {
    using namespace controls;
    static const std::vector<ControlId> clickable = [] {
        std::vector<ControlId> ids{Command1, Command3, Command4, Command5, Check2, Check3};
        ids.insert(ids.end(), Check1.begin(), Check1.end());
        ids.insert(ids.end(), Option1.begin(), Option1.end());
        ids.insert(ids.end(), Option2.begin(), Option2.end());
        return ids;
    }();
    std::uniform_real_distribution<double> x(-20, 820), y(-20, 640), step(-40, 40);
    if (rng() % 4 == 0) {
        s.click(clickable[rng() % clickable.size()]);
        return;
    }
    const FigureState& f = s.window().state().figure;
    PointF p = rng() % 2 ? (rng() % 2 ? f.a() : f.d()) : PointF{x(rng), y(rng)};
    const int button = rng() % 5 == 0 ? kRightButton : kLeftButton;
    s.boardPress(button, button, 0, float(p.x), float(p.y));
    for (int i = int(rng() % 6); i > 0; --i) {
        p = p + PointF{step(rng), step(rng)};
        s.boardMove(button, 0, float(p.x), float(p.y));
    }
    s.boardRelease(button, 0, 0, float(p.x), float(p.y));
}

} // namespace orvanel::test
