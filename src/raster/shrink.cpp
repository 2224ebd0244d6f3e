// SPDX-License-Identifier: MIT
#include "raster/shrink.h"

#include <algorithm>
#include <cmath>

namespace orvanel {

namespace {

// The board pixels device pixel `d` covers along one axis, and the one
// nearest its centre.
struct Cover {
    int first, last, nearest;
};

Cover cover(int d, double k, int size) {
    const int first = std::min(size - 1, int(std::floor(d / k)));
    const int last = std::max(first, std::min(size - 1, int(std::ceil((d + 1) / k)) - 1));
    return {first, last, std::min(size - 1, int(std::floor((d + 0.5) / k)))};
}

} // namespace

void shrinkInto(PixelView target, int left, int top, const PixelBuffer& source, double kx,
                double ky, Rgb background) {
    for (int v = 0; v < target.height; ++v) {
        const Cover rows = cover(top + v, ky, source.height());
        Rgb* out = target.row(v);
        for (int u = 0; u < target.width; ++u) {
            const Cover columns = cover(left + u, kx, source.width());
            Rgb p = source.pixel(columns.nearest, rows.nearest);
            for (int y = rows.first; y <= rows.last && p == background; ++y) {
                for (int x = columns.first; x <= columns.last && p == background; ++x) {
                    p = source.pixel(x, y);
                }
            }
            out[u] = p;
        }
    }
}

} // namespace orvanel
