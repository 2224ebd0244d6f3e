// Tiny surfaces drawn as ASCII art, for pixel tests: one character a pixel.
#pragma once

#include "platform/raster_surface.h"

#include <QStringList>

#include <algorithm>
#include <map>

namespace orvanel::test {

// The palette colours the tests look for.
inline const QRgb kGreen = qRgb(0, 128, 0);
inline const QRgb kWhite = qRgb(255, 255, 255);
inline const QRgb kYellow = qRgb(255, 255, 0);
inline const QRgb kRed = qRgb(255, 0, 0);
inline const QRgb kBlue = qRgb(0, 0, 255);

// Characters and the colours they stand for.
inline const std::map<char, QRgb> kArtColors{
    {'.', qRgb(0, 128, 0)},     // board green
    {'#', qRgb(255, 255, 255)}, // white border
    {'Y', qRgb(255, 255, 0)},   // yellow
    {'R', qRgb(255, 0, 0)},     // red
    {'B', qRgb(0, 0, 255)},     // blue
};

inline char artChar(QRgb color) {
    for (const auto& [c, rgb] : kArtColors) {
        if (rgb == (color | 0xff000000u)) {
            return c;
        }
    }
    return '?';
}

// A surface whose pixels are the picture's; the background is board green.
inline RasterSurface surfaceFromArt(const QStringList& rows) {
    RasterSurface surface(QSize(int(rows.first().size()), int(rows.size())));
    surface.setLineWidth(1);
    for (int y = 0; y < rows.size(); ++y) {
        for (int x = 0; x < rows[y].size(); ++x) {
            const QRgb color = kArtColors.at(rows[y][x].toLatin1());
            if (color != surface.background()) {
                // A zero-length width-1 segment paints exactly one pixel.
                surface.drawSegment(QPointF(x, y), QPointF(x, y), color);
            }
        }
    }
    return surface;
}

inline QStringList artFromSurface(const RasterSurface& surface) {
    QStringList rows;
    for (int y = 0; y < surface.height(); ++y) {
        QString row;
        for (int x = 0; x < surface.width(); ++x) {
            row += QLatin1Char(artChar(surface.pixel(x, y)));
        }
        rows << row;
    }
    return rows;
}

} // namespace orvanel::test

#include <QRandomGenerator>

namespace orvanel::test {

// Pixels of `color` on the surface.
inline int countColor(const RasterSurface& s, QRgb color) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(s.image().constScanLine(y));
        n += int(std::count(row, row + s.width(), color | 0xff000000u));
    }
    return n;
}

// A real number drawn uniformly from [lo, hi).
inline double uniform(QRandomGenerator& rng, double lo, double hi) {
    return lo + rng.bounded(hi - lo);
}

} // namespace orvanel::test
