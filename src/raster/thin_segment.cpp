// SPDX-License-Identifier: MIT
// Width-1 segments on the surface: the digital line's runs, written with the
// surface's bookkeeping. When erasing, a band of rows where nothing painted
// lies near the line is passed over.
#include "raster/raster_surface.h"

#include "raster/digital_line.h"

namespace orvanel {

static_assert(digital::kBandShift == BandSpans::kBandShift,
              "a walk passes over the bands the surface keeps its records in");

void RasterSurface::drawThinSegment(PointF from, PointF to, Rgb color, Rect within) {
    const std::optional<DigitalLine> line = DigitalLine::of(from, to, within);
    if (!line) {
        return;
    }
    if (color != background_) {
        walkDigitalLine(
            *line, within, [&](int y, int x0, int x1) { paintRun(y, x0, x1, color); },
            [](std::int64_t) { return false; });
        return;
    }
    // Erasing: only the columns the line reaches within a band count. A long
    // slanted side crosses many bands that hold a mark somewhere, but rarely
    // near it.
    walkDigitalLine(
        *line, within, [&](int y, int x0, int x1) { eraseRun(y, x0, x1); },
        [&](std::int64_t y) {
            const auto [lo, hi] = line->columnsNearBand(y);
            return lo > hi || !painted_.bands().touches(int(y), int(lo), int(hi));
        });
}

} // namespace orvanel
