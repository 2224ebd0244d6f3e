// SPDX-License-Identifier: MIT
#include "window/history.h"

#include "format/pixel_runs.h"
#include "window/state_format.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace orvanel {

namespace {

History* gLiveHistories = nullptr;

std::vector<std::uint8_t> stateBytes(const Form1::Snapshot& state) {
    ByteWriter out;
    writeState(state, out);
    std::vector<std::uint8_t> bytes = out.take();
    bytes.shrink_to_fit();
    return bytes;
}

std::vector<std::uint8_t> finished(PixelRunEncoder& encoder) {
    ByteWriter out;
    encoder.finish(out);
    std::vector<std::uint8_t> bytes = out.take();
    bytes.shrink_to_fit();
    return bytes;
}

// Marks a history busy while its deques change.
class Busy {
public:
    explicit Busy(bool& flag) : flag_(flag) { flag_ = true; }
    ~Busy() { flag_ = false; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    bool& flag_;
};

} // namespace

History::History(const Form1& window, std::size_t maxBytes)
    : maxBytes_(maxBytes), shown_(window.surface().pixels()),
      tilesAcross_((shown_.width() + kTile - 1) / kTile),
      tilesDown_((shown_.height() + kTile - 1) / kTile), next_(gLiveHistories) {
    gLiveHistories = this;
}

History::~History() {
    for (History** h = &gLiveHistories; *h; h = &(*h)->next_) {
        if (*h == this) {
            *h = next_;
            break;
        }
    }
}

std::size_t History::Step::bytes() const {
    return sizeof(Step) + before.capacity() + after.capacity() +
           tiles.capacity() * sizeof(std::uint16_t) + pixelsBefore.capacity() +
           pixelsAfter.capacity();
}

std::size_t History::bytes() const {
    return sizeof(History) + shown_.byteCount() + stepBytes_ + (pending_ ? pending_->bytes() : 0);
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
    const Form1::Snapshot after = window.snapshot();
    Step step;
    takeChangedTiles(window, step);
    if (step.tiles.empty() && pending_->looksLike(after)) {
        pending_.reset();
        return;
    }
    step.before = stateBytes(*pending_);
    step.after = stateBytes(after);
    pending_.reset();
    while (!undone_.empty()) {
        forget(undone_, false);
    }
    stepBytes_ += step.bytes();
    ++revision_;
    {
        const Busy busy(busy_);
        done_.push_back(std::move(step));
    }
    while (done_.size() > 1 && bytes() > maxBytes_) {
        forget(done_, true);
    }
}

void History::takeChangedTiles(const Form1& window, Step& step) {
    const PixelBuffer& now = window.surface().pixels();
    PixelRunEncoder before;
    PixelRunEncoder after;
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
        step.tiles.push_back(std::uint16_t(tile));
        for (y = r.top; y <= r.bottom(); ++y) {
            Rgb* was = shown_.row(y) + r.left;
            const Rgb* is = now.row(y) + r.left;
            before.add({was, std::size_t(r.width)});
            after.add({is, std::size_t(r.width)});
            std::copy(is, is + r.width, was);
        }
    }
    step.tiles.shrink_to_fit();
    step.pixelsBefore = finished(before);
    step.pixelsAfter = finished(after);
}

void History::apply(Form1& window, const std::vector<std::uint8_t>& state, const Step& step,
                    const std::vector<std::uint8_t>& pixels) {
    Form1::Snapshot s = window.snapshot();
    ByteReader stateReader(state);
    readState(stateReader, s); // the history's own bytes: always sound
    window.restore(s);
    std::size_t total = 0;
    for (const int tile : step.tiles) {
        const Rect r = tileRect(tile);
        total += std::size_t(r.width) * std::size_t(r.height);
    }
    ByteReader pixelReader(pixels);
    PixelRunDecoder decoder(pixelReader, total);
    for (const int tile : step.tiles) {
        const Rect r = tileRect(tile);
        for (int y = r.top; y <= r.bottom(); ++y) {
            decoder.read({shown_.row(y) + r.left, std::size_t(r.width)});
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
    const Busy busy(busy_);
    Step& step = from.back();
    apply(window, back ? step.before : step.after, step,
          back ? step.pixelsBefore : step.pixelsAfter);
    to.push_back(std::move(step));
    from.pop_back();
    ++revision_;
    return true;
}

void History::forget(std::deque<Step>& steps, bool oldest) {
    const Busy busy(busy_);
    Step& step = oldest ? steps.front() : steps.back();
    stepBytes_ -= step.bytes();
    if (oldest) {
        steps.pop_front();
    } else {
        steps.pop_back();
    }
}

bool History::giveUpOldest() {
    if (busy_) {
        return false;
    }
    if (!done_.empty()) {
        forget(done_, true);
    } else if (!undone_.empty()) {
        forget(undone_, true);
    } else {
        return false;
    }
    return true;
}

void History::relieveMemory() {
    for (History* h = gLiveHistories; h; h = h->next_) {
        if (h->giveUpOldest()) {
            return;
        }
    }
    // Nothing is left to give up: the allocation fails as it would have.
    std::set_new_handler(nullptr);
}

void History::giveBackMemoryWhenExhausted() {
    std::set_new_handler(&History::relieveMemory);
}

} // namespace orvanel
