// SPDX-License-Identifier: MIT
// The four angle marks painted by drawFigure, checked pixel by pixel.
#include "ascii_image.h"
#include "figure/angles.h"
#include "figure/draw_figure.h"
#include "platform/palette.h"

#include <QTest>

#include <numbers>

using namespace orvanel;
using namespace orvanel::test;

namespace {

struct Drawn {
    FigureState figure;
    Directions dirs;
    std::array<int, 4> shown{};
    RasterSurface surface;
};

Drawn draw(QPointF a, QPointF d) {
    Drawn out;
    out.figure.xA = a.x();
    out.figure.yA = a.y();
    out.figure.xD = d.x();
    out.figure.yD = static_cast<float>(d.y());
    out.surface.setLineWidth(3);
    out.shown = measureAngles(out.figure, out.dirs);
    drawFigure(out.surface, out.figure, out.dirs, out.shown[1], out.shown[2]);
    return out;
}

// Pixels of `color` within `radius` of `centre`.
int countNear(const RasterSurface& s, QPointF centre, double radius, QRgb color) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            if (s.pixel(x, y) == color && std::hypot(x - centre.x(), y - centre.y()) <= radius) {
                ++n;
            }
        }
    }
    return n;
}

int countAll(const RasterSurface& s, QRgb color) {
    return countNear(s, {0, 0}, 1e9, color);
}

constexpr double kDiskArea = std::numbers::pi * kMarkRadius * kMarkRadius;

} // namespace

class DrawFigureTest : public QObject {
    Q_OBJECT

private slots:
    void startingFigure();
    void boardStateAfterwards();
    void marksStayInTheirDisks();
    void smallReadoutAtBPaintsNothing_data();
    void smallReadoutAtBPaintsNothing();
    void aBelowTheBaseLine();
    void dOnSideAB();
    void sideShorterThanTheRadius();
    void vertexOffTheBoard_data();
    void vertexOffTheBoard();
    void paintsOverEarlierMarks();
};

void DrawFigureTest::startingFigure() {
    Drawn f = draw({600, 150}, {550, 350});
    QCOMPARE(f.shown, (std::array<int, 4>{41, 35, 56, 132}));
    QCOMPARE(fillStartAtA(f.figure, f.dirs), QPoint(594, 158));
    QCOMPARE(fillStartAtD(f.figure, f.dirs), QPoint(560, 348));
    QCOMPARE(f.surface.pixel(594, 158), kYellow);
    QCOMPARE(f.surface.pixel(128, 499), kYellow);
    QCOMPARE(f.surface.pixel(622, 499), kYellow);
    QCOMPARE(f.surface.pixel(560, 348), kRed);
    // The red mark lies on the side of D facing away from B.
    QCOMPARE(f.surface.pixel(540, 350), paletteColor(kPaletteGreen));
    // Sector areas follow the angles: 41, 35 and 56 degrees of the disk at
    // A, B and C, and 132 at D, less the pixels of the erased outline.
    const auto sectorArea = [](int degrees) { return kDiskArea * degrees / 360; };
    const int atA = countNear(f.surface, f.figure.a(), 31, kYellow);
    const int atB = countNear(f.surface, f.figure.b(), 31, kYellow);
    const int atC = countNear(f.surface, f.figure.c(), 31, kYellow);
    const int atD = countNear(f.surface, f.figure.d(), 31, kRed);
    QVERIFY2(atA > 0.75 * sectorArea(41) && atA < sectorArea(41), qPrintable(QString::number(atA)));
    QVERIFY2(atB > 0.75 * sectorArea(35) && atB < sectorArea(35), qPrintable(QString::number(atB)));
    QVERIFY2(atC > 0.75 * sectorArea(56) && atC < sectorArea(56), qPrintable(QString::number(atC)));
    QVERIFY2(atD > 0.8 * sectorArea(132) && atD < sectorArea(132),
             qPrintable(QString::number(atD)));
}

void DrawFigureTest::boardStateAfterwards() {
    Drawn f = draw({600, 150}, {550, 350});
    QCOMPARE(f.surface.lineWidth(), 3);
    QCOMPARE(f.surface.fillStyle(), RasterSurface::FillStyle::Transparent);
    QCOMPARE(f.surface.fillColor(), kRed);
    QCOMPARE(countAll(f.surface, kWhite), 0);
}

void DrawFigureTest::marksStayInTheirDisks() {
    Drawn f = draw({600, 150}, {550, 350});
    const int yellow = countAll(f.surface, kYellow);
    const int near = countNear(f.surface, f.figure.a(), 31, kYellow) +
                     countNear(f.surface, f.figure.b(), 31, kYellow) +
                     countNear(f.surface, f.figure.c(), 31, kYellow);
    QCOMPARE(yellow, near);
    QCOMPARE(countAll(f.surface, kRed), countNear(f.surface, f.figure.d(), 31, kRed));
}

void DrawFigureTest::smallReadoutAtBPaintsNothing_data() {
    QTest::addColumn<QPointF>("a");
    QTest::addColumn<int>("shownAtB");
    QTest::addColumn<bool>("painted");
    QTest::newRow("A on the base line: 0") << QPointF(400, 500) << 0 << false;
    // atan(5 / 300) in 3.14-degrees is 0.955; atan(8 / 300) is 1.528.
    QTest::newRow("A just above the base line: 1") << QPointF(400, 495) << 1 << false;
    // At 2 the fill starts, but its start pixel (B + (28, -1)) lies on side BA.
    QTest::newRow("a read-out of 2 starts on the side") << QPointF(400, 490) << 2 << false;
    QTest::newRow("a read-out of 4 paints") << QPointF(400, 480) << 4 << true;
}

void DrawFigureTest::smallReadoutAtBPaintsNothing() {
    QFETCH(QPointF, a);
    QFETCH(int, shownAtB);
    QFETCH(bool, painted);
    Drawn f = draw(a, {550, 350});
    QCOMPARE(f.shown[1], shownAtB);
    QCOMPARE(countNear(f.surface, f.figure.b(), 31, kYellow) > 0, painted);
    QCOMPARE(countAll(f.surface, kWhite), 0);
}

void DrawFigureTest::aBelowTheBaseLine() {
    Drawn f = draw({400, 600}, {550, 350});
    QVERIFY(f.shown[1] > 180);
    // The mark at B sweeps from the base line (towards C) over the top to BA:
    // more than half of the disk.
    const int atB = countNear(f.surface, f.figure.b(), 31, kYellow);
    QVERIFY2(atB > kDiskArea / 2, qPrintable(QString::number(atB)));
    QCOMPARE(f.surface.pixel(100, 480), kYellow); // straight above B
}

void DrawFigureTest::dOnSideAB() {
    Drawn f = draw({600, 150}, {350, 325});
    QCOMPARE(f.shown[0], 0);
    QCOMPARE(f.dirs.dirAB, f.dirs.dirAD);
    // The start point points away from B, and the fill spreads over the disk.
    const int atA = countNear(f.surface, f.figure.a(), 31, kYellow);
    QVERIFY2(atA > 0.85 * kDiskArea, qPrintable(QString::number(atA)));
}

void DrawFigureTest::sideShorterThanTheRadius() {
    // A within 30 pixels of D: side DA ends inside the circles and cuts no disk.
    Drawn f = draw({560, 330}, {550, 350});
    // Yellow at A, partly painted over red by the mark at D, fills the disk.
    const int atA = countNear(f.surface, f.figure.a(), 31, kYellow) +
                    countNear(f.surface, f.figure.a(), 31, kRed);
    QVERIFY2(atA > 0.85 * kDiskArea, qPrintable(QString::number(atA)));
    QCOMPARE(countAll(f.surface, kWhite), 0);
}

void DrawFigureTest::vertexOffTheBoard_data() {
    QTest::addColumn<QPointF>("a");
    QTest::addColumn<QPointF>("d");
    QTest::newRow("A beyond the left edge") << QPointF(-100, 150) << QPointF(550, 350);
    QTest::newRow("A half over the top edge") << QPointF(600, 5) << QPointF(550, 350);
    QTest::newRow("D far below") << QPointF(600, 150) << QPointF(550, 1e6);
    QTest::newRow("D at 1e30") << QPointF(600, 150) << QPointF(1e30, -1e30);
}

void DrawFigureTest::vertexOffTheBoard() {
    QFETCH(QPointF, a);
    QFETCH(QPointF, d);
    Drawn f = draw(a, d);
    QCOMPARE(countAll(f.surface, kWhite), 0);
    // Whatever is painted stays within the four disks.
    const int painted = countAll(f.surface, kYellow) + countAll(f.surface, kRed);
    const int inDisks = countNear(f.surface, f.figure.a(), 31, kYellow) +
                        countNear(f.surface, f.figure.b(), 31, kYellow) +
                        countNear(f.surface, f.figure.c(), 31, kYellow) +
                        countNear(f.surface, f.figure.d(), 31, kRed);
    QCOMPARE(painted, inDisks);
}

void DrawFigureTest::paintsOverEarlierMarks() {
    // Without clearing, a second drawing for another position paints over
    // the first, and the first stays where nothing covers it.
    Drawn f = draw({600, 150}, {550, 350});
    f.figure.xD = 500;
    f.shown = measureAngles(f.figure, f.dirs);
    drawFigure(f.surface, f.figure, f.dirs, f.shown[1], f.shown[2]);
    QCOMPARE(f.surface.pixel(560, 348), kRed);
    QVERIFY(countNear(f.surface, QPointF(500, 350), 31, kRed) > 0);
}

QTEST_GUILESS_MAIN(DrawFigureTest)
#include "test_draw_figure.moc"
