// SPDX-License-Identifier: MIT
// The outline that bounds every angle mark, two sides meeting at a vertex and
// the radius-30 circle, drawn at width 1, must hold the flood fill at every
// real-valued vertex position, and drawing it again in green must remove it.
#include "ascii_image.h"
#include "figure/draw_figure.h"
#include "platform/palette.h"
#include "platform/pixel_math.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <numbers>

using namespace orvanel;
using orvanel::test::uniform;

class OutlineClosureTest : public QObject {
    Q_OBJECT

private slots:
    void randomSectorsHoldTheFill();
};

void OutlineClosureTest::randomSectorsHoldTheFill() {
    constexpr int kSectors = 100'000;
    constexpr int kSize = 72;
    const QRgb white = paletteColor(kPaletteWhite);
    const QRgb green = paletteColor(kPaletteGreen);
    const QRgb yellow = paletteColor(kPaletteYellow);
    QRandomGenerator rng(20261208);
    RasterSurface surface(QSize(kSize, kSize));
    surface.setFillColor(yellow);
    int leaks = 0;
    int whiteLeft = 0;
    int filled = 0;
    for (int i = 0; i < kSectors; ++i) {
        surface.clear();
        const QPointF v(uniform(rng, 31.0, kSize - 31.0), uniform(rng, 31.0, kSize - 31.0));
        // Two sides leaving the vertex, reaching far past the circle.
        const double a1 = rng.bounded(2 * std::numbers::pi);
        const double a2 = a1 + uniform(rng, 0.05, 2 * std::numbers::pi - 0.05);
        const double len1 = uniform(rng, 31.0, 2000.0);
        const double len2 = uniform(rng, 31.0, 2000.0);
        const QPointF e1 = v + len1 * QPointF(std::cos(a1), -std::sin(a1));
        const QPointF e2 = v + len2 * QPointF(std::cos(a2), -std::sin(a2));
        // Sides are drawn from the vertex or towards it, as the figure does.
        const bool towards = rng.bounded(2) == 1;
        surface.drawSegment(towards ? e1 : v, towards ? v : e1, white);
        surface.drawSegment(v, e2, white);
        surface.drawCircle(v, kMarkRadius, white);
        const double mid = (a1 + a2) / 2;
        const QPoint start(int(roundHalfEven(v.x() + 10 * std::cos(mid))),
                           int(roundHalfEven(v.y() - 10 * std::sin(mid))));
        surface.setFillStyle(RasterSurface::FillStyle::Solid);
        if (surface.floodFill(start, white)) {
            ++filled;
        }
        surface.setFillStyle(RasterSurface::FillStyle::Transparent);
        // The outline cuts the disk into two regions, the sector and the rest;
        // the fill must stay inside the disk and within one of the two. Near a
        // side a pixel may belong to either region: the digital line leans
        // half a pixel and the vertex is rounded to its pixel.
        int inSector = 0;
        int inRest = 0;
        int outsideDisk = 0;
        for (int y = 0; y < kSize; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(surface.image().constScanLine(y));
            for (int x = 0; x < kSize; ++x) {
                if (row[x] != yellow) {
                    continue;
                }
                const QPointF p = QPointF(x, y) - v;
                const double dist = std::hypot(p.x(), p.y());
                if (dist > kMarkRadius + 1.5) {
                    ++outsideDisk;
                    continue;
                }
                if (dist < 3) {
                    continue;
                }
                const double ang = std::fmod(std::atan2(-p.y(), p.x()) - a1 + 4 * std::numbers::pi,
                                             2 * std::numbers::pi);
                const double lean = 2.0 / dist;
                const double sweep = a2 - a1;
                if (ang > lean && ang < sweep - lean) {
                    ++inSector;
                } else if (ang > sweep + lean && ang < 2 * std::numbers::pi - lean) {
                    ++inRest;
                }
            }
        }
        if (outsideDisk > 0 || (inSector > 0 && inRest > 0)) {
            ++leaks;
            qWarning("leak at sector %d: vertex (%.6f, %.6f), sides %.6f %.6f", i, v.x(), v.y(), a1,
                     a2);
        }
        surface.drawCircle(v, kMarkRadius, green);
        surface.drawSegment(towards ? e1 : v, towards ? v : e1, green);
        surface.drawSegment(v, e2, green);
        for (int y = 0; y < kSize; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(surface.image().constScanLine(y));
            whiteLeft += int(std::count(row, row + kSize, white));
        }
        if (leaks || whiteLeft) {
            break;
        }
    }
    qInfo("%d sectors, %d fills started, %d leaks, %d white pixels left", kSectors, filled, leaks,
          whiteLeft);
    QCOMPARE(leaks, 0);
    QCOMPARE(whiteLeft, 0);
}

QTEST_GUILESS_MAIN(OutlineClosureTest)
#include "test_outline_closure.moc"
