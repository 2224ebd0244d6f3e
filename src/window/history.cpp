// SPDX-License-Identifier: MIT
#include "window/history.h"

#include <algorithm>
#include <cstring>

namespace orvanel {

History::History(const Form1& window)
    : shown_(window.surface().pixels()), tilesAcross_((shown_.width() + kTile - 1) / kTile),
      tilesDown_((shown_.height() + kTile - 1) / kTile) {}

std::size_t History::Step::bytes() const {
    return sizeof(Step) + tiles.capacity() * sizeof(int) +
           (pixelsBefore.capacity() + pixelsAfter.capacity()) * sizeof(Rgb);
}

Rect History::tileRect(int tile) const {
    const Rect r{tile % tilesAcross_ * kTile, tile / tilesAcross_ * kTile, kTile, kTile};
    return r.intersected(shown_.rect());
}

void History::begin(const Form1& window) {
    pending_ = window.snapshot();
}

void History::end(const Form1& window) {
    if (!pending_) {
        return;
    }
    Step step{std::move(*pending_), window.snapshot(), {}, {}, {}};
    pending_.reset();
    takeChangedTiles(window, step);
    if (step.tiles.empty() && step.before.looksLike(step.after)) {
        return;
    }
    while (!undone_.empty()) {
        forget(undone_, false);
    }
    bytes_ += step.bytes();
    done_.push_back(std::move(step));
    while (done_.size() > kMinSteps && bytes_ > kMaxBytes) {
        forget(done_, true);
    }
}

void History::takeChangedTiles(const Form1& window, Step& step) {
    const PixelBuffer& now = window.surface().pixels();
    for (int tile = 0; tile < tilesAcross_ * tilesDown_; ++tile) {
        const Rect r = tileRect(tile);
        const std::size_t rowBytes = std::size_t(r.width) * sizeof(Rgb);
        int y = r.top;
        while (y <= r.bottom() &&
               std::memcmp(now.row(y) + r.left, shown_.row(y) + r.left, rowBytes) == 0) {
            ++y;
        }
        if (y > r.bottom()) {
            continue;
        }
        step.tiles.push_back(tile);
        for (y = r.top; y <= r.bottom(); ++y) {
            Rgb* was = shown_.row(y) + r.left;
            const Rgb* is = now.row(y) + r.left;
            step.pixelsBefore.insert(step.pixelsBefore.end(), was, was + r.width);
            step.pixelsAfter.insert(step.pixelsAfter.end(), is, is + r.width);
            std::copy(is, is + r.width, was);
        }
    }
    step.tiles.shrink_to_fit();
    step.pixelsBefore.shrink_to_fit();
    step.pixelsAfter.shrink_to_fit();
}

void History::apply(Form1& window, const Form1::Snapshot& state, const Step& step,
                    const std::vector<Rgb>& pixels) {
    window.restore(state);
    std::size_t at = 0;
    for (const int tile : step.tiles) {
        const Rect r = tileRect(tile);
        for (int y = r.top; y <= r.bottom(); ++y, at += std::size_t(r.width)) {
            std::copy_n(pixels.data() + at, r.width, shown_.row(y) + r.left);
        }
        window.restoreBoardPixels(r, shown_);
    }
}

bool History::undo(Form1& window) {
    return travel(done_, undone_, window, true);
}

bool History::redo(Form1& window) {
    return travel(undone_, done_, window, false);
}

bool History::travel(std::deque<Step>& from, std::deque<Step>& to, Form1& window, bool back) {
    if (from.empty()) {
        return false;
    }
    Step& step = from.back();
    apply(window, back ? step.before : step.after, step,
          back ? step.pixelsBefore : step.pixelsAfter);
    to.push_back(std::move(step));
    from.pop_back();
    return true;
}

void History::forget(std::deque<Step>& steps, bool oldest) {
    Step& step = oldest ? steps.front() : steps.back();
    bytes_ -= step.bytes();
    if (oldest) {
        steps.pop_front();
    } else {
        steps.pop_back();
    }
}

} // namespace orvanel
