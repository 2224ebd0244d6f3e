// SPDX-License-Identifier: MIT
// Pixel rules of the board surface: flood fill, segments, circles, clearing.
#include "ascii_image.h"

#include "platform/palette.h"

#include <QRandomGenerator>
#include <QTest>

using namespace orvanel;
using namespace orvanel::test;

namespace {

bool sameImage(const RasterSurface& a, const RasterSurface& b) {
    return a.image() == b.image();
}

} // namespace

class RasterSurfaceTest : public QObject {
    Q_OBJECT

private slots:
    void floodFill_data();
    void floodFill();
    void floodFillWholeBoard();
    void floodFillDoesNotRecurse();
    void thinSegmentIsDirectionIndependent();
    void thinSegmentEndsRoundHalfToEven_data();
    void thinSegmentEndsRoundHalfToEven();
    void thinSegmentIs8ConnectedWithBothEnds();
    void redrawInGreenCoversExactly();
    void wideSegmentCoversHalfWidth_data();
    void wideSegmentCoversHalfWidth();
    void circleOutlineIsSymmetricAndClosed();
    void solidCircleIsFilled();
    void farAwayCoordinatesAreClipped_data();
    void farAwayCoordinatesAreClipped();
    void clearEqualsFullFill();
    void changedRegionCoversChangedPixels();
};

void RasterSurfaceTest::floodFill_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<bool>("painted");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("closed box: inside only, border kept")
        << QStringList{".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."}
        << QPoint(3, 2) << true
        << QStringList{".......", ".#####.", ".#YYY#.", ".#YYY#.", ".#####.", "......."};
    // 8-connected diagonal border: a 4-connected fill must not slip between
    // two diagonal neighbours.
    QTest::newRow("diagonal border holds")
        << QStringList{"#.....", ".#....", "..#...", "...#..", "....#.", ".....#"} << QPoint(0, 5)
        << true << QStringList{"#.....", "Y#....", "YY#...", "YYY#..", "YYYY#.", "YYYYY#"};
    QTest::newRow("start on the border paints nothing")
        << QStringList{"...", ".#.", "..."} << QPoint(1, 1) << false
        << QStringList{"...", ".#.", "..."};
    QTest::newRow("start left of the surface paints nothing")
        << QStringList{"...", "..."} << QPoint(-1, 0) << false << QStringList{"...", "..."};
    QTest::newRow("start below the surface paints nothing")
        << QStringList{"...", "..."} << QPoint(1, 2) << false << QStringList{"...", "..."};
    QTest::newRow("other colours inside are painted over")
        << QStringList{"#####", "#RBR#", "#####"} << QPoint(1, 1) << true
        << QStringList{"#####", "#YYY#", "#####"};
    QTest::newRow("pixels already of the fill colour are passed through")
        << QStringList{"######", "#.Y..#", "#.Y.##", "######"} << QPoint(1, 1) << true
        << QStringList{"######", "#YYYY#", "#YYY##", "######"};
    QTest::newRow("region reached only around corners")
        << QStringList{"#######", "#...#.#", "#.#.#.#", "#.#...#", "#######"} << QPoint(1, 1)
        << true << QStringList{"#######", "#YYY#Y#", "#Y#Y#Y#", "#Y#YYY#", "#######"};
    QTest::newRow("fill runs to the surface's edges")
        << QStringList{"..#..", "..#..", "..#.."} << QPoint(4, 0) << true
        << QStringList{"..#YY", "..#YY", "..#YY"};
}

void RasterSurfaceTest::floodFill() {
    QFETCH(QStringList, before);
    QFETCH(QPoint, start);
    QFETCH(bool, painted);
    QFETCH(QStringList, after);
    RasterSurface surface = surfaceFromArt(before);
    surface.setFillColor(kYellow);
    QCOMPARE(surface.floodFill(start, kWhite), painted);
    QCOMPARE(artFromSurface(surface), after);
}

void RasterSurfaceTest::floodFillWholeBoard() {
    RasterSurface surface;
    surface.setFillColor(kYellow);
    QVERIFY(surface.floodFill(QPoint(401, 313), kWhite));
    QCOMPARE(countColor(surface, kYellow), kBoardSize.width() * kBoardSize.height());
    // The fill's work space is reused: a second fill over the same pixels works.
    surface.setFillColor(kWhite);
    QVERIFY(surface.floodFill(QPoint(0, 0), kGreen));
    QCOMPARE(countColor(surface, kWhite), kBoardSize.width() * kBoardSize.height());
}

void RasterSurfaceTest::floodFillDoesNotRecurse() {
    // A serpentine corridor one pixel wide through the whole board: a fill that
    // recursed per pixel would need hundreds of thousands of frames.
    RasterSurface surface;
    for (int x = 1; x < surface.width(); x += 2) {
        const double y1 = (x / 2) % 2 == 0 ? 0 : 1;
        surface.drawSegment(QPointF(x, y1), QPointF(x, y1 + surface.height() - 2), kWhite);
    }
    surface.setFillColor(kYellow);
    QVERIFY(surface.floodFill(QPoint(0, 0), kWhite));
    QCOMPARE(countColor(surface, kGreen), 0);
}

void RasterSurfaceTest::thinSegmentIsDirectionIndependent() {
    QRandomGenerator rng(7);
    for (int i = 0; i < 2000; ++i) {
        const QPointF a(uniform(rng, -20.0, 60.0), uniform(rng, -20.0, 60.0));
        const QPointF b(uniform(rng, -20.0, 60.0), uniform(rng, -20.0, 60.0));
        RasterSurface forward(QSize(40, 40));
        RasterSurface backward(QSize(40, 40));
        forward.drawSegment(a, b, kWhite);
        backward.drawSegment(b, a, kWhite);
        QVERIFY2(
            sameImage(forward, backward),
            qPrintable(
                QStringLiteral("(%1,%2)-(%3,%4)").arg(a.x()).arg(a.y()).arg(b.x()).arg(b.y())));
    }
}

void RasterSurfaceTest::thinSegmentEndsRoundHalfToEven_data() {
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<QPoint>("pixel");
    QTest::newRow("2.5 rounds down to even 2") << QPointF(2.5, 2.5) << QPoint(2, 2);
    QTest::newRow("3.5 rounds up to even 4") << QPointF(3.5, 3.5) << QPoint(4, 4);
    QTest::newRow("2.51 rounds up") << QPointF(2.51, 1.49) << QPoint(3, 1);
}

void RasterSurfaceTest::thinSegmentEndsRoundHalfToEven() {
    QFETCH(QPointF, end);
    QFETCH(QPoint, pixel);
    RasterSurface surface(QSize(8, 8));
    surface.drawSegment(end, end, kWhite);
    QCOMPARE(countColor(surface, kWhite), 1);
    QCOMPARE(surface.pixel(pixel.x(), pixel.y()), kWhite);
}

void RasterSurfaceTest::thinSegmentIs8ConnectedWithBothEnds() {
    QRandomGenerator rng(11);
    for (int i = 0; i < 500; ++i) {
        const QPoint a(rng.bounded(0, 50), rng.bounded(0, 50));
        const QPoint b(rng.bounded(0, 50), rng.bounded(0, 50));
        RasterSurface surface(QSize(50, 50));
        surface.drawSegment(a, b, kWhite);
        QCOMPARE(surface.pixel(a.x(), a.y()), kWhite);
        QCOMPARE(surface.pixel(b.x(), b.y()), kWhite);
        // As many pixels as the longer axis spans: one per column or row.
        const int expected = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y())) + 1;
        QCOMPARE(countColor(surface, kWhite), expected);
    }
}

void RasterSurfaceTest::redrawInGreenCoversExactly() {
    QRandomGenerator rng(3);
    for (int i = 0; i < 1000; ++i) {
        RasterSurface surface(QSize(64, 64));
        const QPointF a(uniform(rng, -10.0, 74.0), uniform(rng, -10.0, 74.0));
        const QPointF b(uniform(rng, -10.0, 74.0), uniform(rng, -10.0, 74.0));
        const QPointF c(uniform(rng, 0.0, 64.0), uniform(rng, 0.0, 64.0));
        surface.drawSegment(a, b, kWhite);
        surface.drawCircle(c, 30, kWhite);
        surface.drawCircle(c, 30, kGreen);
        surface.drawSegment(a, b, kGreen);
        QCOMPARE(countColor(surface, kWhite), 0);
    }
}

void RasterSurfaceTest::wideSegmentCoversHalfWidth_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("reach"); // rows covered on each side of the centre line
    QTest::newRow("thin pen, 3") << 3 << 1;
    QTest::newRow("bold pen, 6") << 6 << 3;
    QTest::newRow("thin eraser, 15") << 15 << 7;
    QTest::newRow("bold eraser, 25") << 25 << 12;
}

void RasterSurfaceTest::wideSegmentCoversHalfWidth() {
    QFETCH(int, width);
    QFETCH(int, reach);
    RasterSurface surface(QSize(100, 60));
    surface.setLineWidth(width);
    surface.drawSegment(QPointF(30, 30), QPointF(70, 30), kYellow);
    for (int dy = -reach; dy <= reach; ++dy) {
        QCOMPARE(surface.pixel(50, 30 + dy), kYellow);
    }
    QCOMPARE(surface.pixel(50, 30 - reach - 1), kGreen);
    QCOMPARE(surface.pixel(50, 30 + reach + 1), kGreen);
    // Round ends: the end cap reaches as far as the sides, but not its corners.
    QCOMPARE(surface.pixel(70 + reach, 30), kYellow);
    QCOMPARE(surface.pixel(70 + reach + 1, 30), kGreen);
    if (reach >= 3) {
        QCOMPARE(surface.pixel(70 + reach, 30 + reach), kGreen);
    }
    // A zero-length segment is a dot as wide as the pen.
    RasterSurface dot(QSize(60, 60));
    dot.setLineWidth(width);
    dot.drawSegment(QPointF(30, 30), QPointF(30, 30), kYellow);
    QCOMPARE(dot.pixel(30 + reach, 30), kYellow);
    QCOMPARE(dot.pixel(30 + reach + 1, 30), kGreen);
}

void RasterSurfaceTest::circleOutlineIsSymmetricAndClosed() {
    RasterSurface surface(QSize(81, 81));
    surface.drawCircle(QPointF(40, 40), 30, kWhite);
    for (int y = 0; y < 81; ++y) {
        for (int x = 0; x < 81; ++x) {
            const QRgb p = surface.pixel(x, y);
            QCOMPARE(surface.pixel(80 - x, y), p);
            QCOMPARE(surface.pixel(x, 80 - y), p);
            QCOMPARE(surface.pixel(y, x), p);
        }
    }
    QCOMPARE(surface.pixel(40, 10), kWhite);
    QCOMPARE(surface.pixel(70, 40), kWhite);
    surface.setFillColor(kYellow);
    QVERIFY(surface.floodFill(QPoint(40, 40), kWhite));
    // The fill stays inside: every yellow pixel lies within the radius.
    for (int y = 0; y < 81; ++y) {
        for (int x = 0; x < 81; ++x) {
            if (surface.pixel(x, y) == kYellow) {
                QVERIFY(std::hypot(x - 40, y - 40) < 30);
            }
        }
    }
    QCOMPARE(surface.pixel(0, 0), kGreen);
}

void RasterSurfaceTest::solidCircleIsFilled() {
    RasterSurface surface(QSize(80, 80));
    surface.setFillStyle(RasterSurface::FillStyle::Solid);
    surface.setFillColor(kYellow);
    surface.drawCircle(QPointF(40, 40), 10, kWhite);
    QCOMPARE(surface.pixel(40, 40), kYellow);
    QCOMPARE(surface.pixel(40, 30), kWhite);
    QCOMPARE(surface.pixel(40, 28), kGreen);
}

void RasterSurfaceTest::farAwayCoordinatesAreClipped_data() {
    QTest::addColumn<QPointF>("far");
    QTest::addColumn<int>("width");
    for (const double d : {1e4, 1e7, 1e30}) {
        for (const int width : {1, 25}) {
            QTest::addRow("(-%g, %g) at width %d", d, d * 0.3, width)
                << QPointF(-d, d * 0.3) << width;
            QTest::addRow("(%g, -%g) at width %d", d, d, width) << QPointF(d, -d) << width;
        }
    }
}

void RasterSurfaceTest::farAwayCoordinatesAreClipped() {
    QFETCH(QPointF, far);
    QFETCH(int, width);
    RasterSurface surface;
    surface.setLineWidth(width);
    const QPointF near(400, 300);
    surface.drawSegment(far, near, kWhite);
    QCOMPARE(surface.pixel(400, 300), kWhite);
    // The visible part runs from the near end towards the far one.
    const QPointF dir = (far - near) / std::hypot(far.x() - near.x(), far.y() - near.y());
    const QPointF probe = near + 100 * dir;
    QCOMPARE(surface.pixel(qRound(probe.x()), qRound(probe.y())), kWhite);
    surface.drawCircle(far, 30, kWhite);
    surface.setFillColor(kYellow);
    QVERIFY(!surface.floodFill(QPoint(int(std::clamp(far.x(), -1e9, 1e9)), 0), kWhite));
}

void RasterSurfaceTest::clearEqualsFullFill() {
    QRandomGenerator rng(5);
    RasterSurface surface;
    const QImage blank = RasterSurface().image();
    for (int round = 0; round < 50; ++round) {
        for (int i = 0; i < 5; ++i) {
            surface.setLineWidth(rng.bounded(1, 26));
            surface.drawSegment(QPointF(uniform(rng, -100.0, 900.0), uniform(rng, -100.0, 700.0)),
                                QPointF(uniform(rng, -100.0, 900.0), uniform(rng, -100.0, 700.0)),
                                paletteColor(rng.bounded(16)));
        }
        surface.setLineWidth(1);
        surface.drawCircle(QPointF(rng.bounded(802.0), rng.bounded(626.0)), 30, kWhite);
        surface.setFillColor(kYellow);
        surface.floodFill(QPoint(rng.bounded(802), rng.bounded(626)), kWhite);
        surface.clear();
        QVERIFY(surface.image() == blank);
    }
}

void RasterSurfaceTest::changedRegionCoversChangedPixels() {
    RasterSurface surface;
    surface.takeChangedRegion();
    QImage before = surface.image().copy();
    surface.setLineWidth(6);
    surface.drawSegment(QPointF(100, 100), QPointF(300, 220), kYellow);
    surface.setLineWidth(1);
    surface.drawSegment(QPointF(0, 600), QPointF(801, 600), kGreen); // changes nothing
    const QRegion changed = surface.takeChangedRegion();
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            if (surface.image().pixel(x, y) != before.pixel(x, y)) {
                QVERIFY(changed.contains(QPoint(x, y)));
            }
        }
    }
    QVERIFY(!changed.intersects(QRect(0, 590, 802, 20)));
    QVERIFY(surface.takeChangedRegion().isEmpty());
}

QTEST_GUILESS_MAIN(RasterSurfaceTest)
#include "test_raster_surface.moc"
