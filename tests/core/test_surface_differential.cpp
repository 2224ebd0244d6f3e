// SPDX-License-Identifier: MIT
// The board's fast drawing (clearing only what was painted, segments walked
// row by row, outlines clipped to the marks' boxes, the fill's alpha marks)
// must leave exactly the pixels of the plain way: clear everything, draw
// every primitive pixel by pixel. A seeded random session of drags, right
// presses, memo strokes with every pen, trace keeping and resets is played on
// the real window and on a plain reference board, and the two surfaces are
// compared after every operation.
#include "ascii_image.h"
#include "window_fixture.h"

#include "figure/angles.h"
#include "platform/palette.h"
#include "tools/memo_pen.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <deque>

using namespace orvanel;
using namespace orvanel::test;

namespace {

// The plain board: every operation touches every pixel it may concern.
class ReferenceBoard {
public:
    ReferenceBoard() : image_(kBoardSize, QImage::Format_RGB32) { reset(); }

    const QImage& image() const { return image_; }

    void reset() {
        image_.fill(kGreen);
        width_ = 3;
        figure_ = FigureState{};
        measureAndDraw();
    }
    // The window's geometry is taken as it is: what is compared is pixels.
    void dragStep(const FigureState& figure, bool keepTraces) {
        figure_ = figure;
        if (!keepTraces) {
            image_.fill(kGreen);
        }
        measureAndDraw();
    }
    void rightPress() {
        image_.fill(kGreen);
        drawFigure();
    }
    void setPen(int width) { width_ = width; }
    void memoSegment(QPointF from, QPointF to, QRgb color) {
        if (width_ <= 1) {
            thinSegment(from, to, color);
            return;
        }
        // Every pixel whose centre lies within half the width of the segment.
        const double r = width_ / 2.0;
        const QRect box =
            QRectF(from, to).normalized().adjusted(-r - 1, -r - 1, r + 1, r + 1).toAlignedRect() &
            image_.rect();
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                if (distanceToSegment(QPointF(x, y), from, to) <= r) {
                    plot(x, y, color);
                }
            }
        }
    }

private:
    static double distanceToSegment(QPointF p, QPointF a, QPointF b) {
        const QPointF d = b - a;
        const double len2 = QPointF::dotProduct(d, d);
        const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0) : 0;
        const QPointF q = a + t * d - p;
        return std::hypot(q.x(), q.y());
    }

    QRgb& at(qint64 x, qint64 y) { return reinterpret_cast<QRgb*>(image_.scanLine(int(y)))[x]; }
    void plot(qint64 x, qint64 y, QRgb color) {
        if (x >= 0 && y >= 0 && x < image_.width() && y < image_.height()) {
            at(x, y) = color;
        }
    }

    // The digital line between the rounded ends, column by column (or row by
    // row), ends ordered, halves rounded up.
    void thinSegment(QPointF from, QPointF to, QRgb color) {
        qint64 x0 = qint64(std::nearbyint(from.x())), y0 = qint64(std::nearbyint(from.y()));
        qint64 x1 = qint64(std::nearbyint(to.x())), y1 = qint64(std::nearbyint(to.y()));
        const auto roundedRatio = [](qint64 num, qint64 den) { // round(num / den), den > 0
            return qint64(std::floor((2.0 * num + den) / (2.0 * den)));
        };
        if (std::abs(x1 - x0) >= std::abs(y1 - y0)) {
            if (x0 > x1) {
                std::swap(x0, x1);
                std::swap(y0, y1);
            }
            for (qint64 x = x0; x <= x1; ++x) {
                plot(x, x1 == x0 ? y0 : y0 + roundedRatio((x - x0) * (y1 - y0), x1 - x0), color);
            }
        } else {
            if (y0 > y1) {
                std::swap(x0, x1);
                std::swap(y0, y1);
            }
            for (qint64 y = y0; y <= y1; ++y) {
                plot(x0 + roundedRatio((y - y0) * (x1 - x0), y1 - y0), y, color);
            }
        }
    }

    void circle(QPointF centre, QRgb color) {
        const qint64 cx = qint64(std::nearbyint(centre.x())),
                     cy = qint64(std::nearbyint(centre.y()));
        qint64 x = 0, y = 30, d = 1 - 30;
        while (x <= y) {
            for (const auto& [px, py] : {std::pair{x, y},
                                         {y, x},
                                         {-x, y},
                                         {-y, x},
                                         {x, -y},
                                         {y, -x},
                                         {-x, -y},
                                         {-y, -x}}) {
                plot(cx + px, cy + py, color);
            }
            d += d < 0 ? 2 * x + 3 : 2 * (x - y--) + 5;
            ++x;
        }
    }

    // Breadth first, a visited flag per pixel, four neighbours.
    void fill(QPoint start, QRgb color) {
        if (!image_.rect().contains(start) || at(start.x(), start.y()) == kWhite) {
            return;
        }
        visited_.assign(std::size_t(image_.width()) * image_.height(), 0);
        std::deque<QPoint> queue{start};
        visited_[start.y() * image_.width() + start.x()] = 1;
        while (!queue.empty()) {
            const QPoint p = queue.front();
            queue.pop_front();
            at(p.x(), p.y()) = color;
            for (const QPoint n :
                 {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)}) {
                if (image_.rect().contains(n) && !visited_[n.y() * image_.width() + n.x()] &&
                    at(n.x(), n.y()) != kWhite) {
                    visited_[n.y() * image_.width() + n.x()] = 1;
                    queue.push_back(n);
                }
            }
        }
    }

    void mark(QPointF s1a, QPointF s1b, QPointF s2a, QPointF s2b, QPointF vertex, bool paint,
              QPoint start, QRgb color) {
        thinSegment(s1a, s1b, kWhite);
        thinSegment(s2a, s2b, kWhite);
        circle(vertex, kWhite);
        if (paint) {
            fill(start, color);
        }
        circle(vertex, kGreen);
        thinSegment(s1a, s1b, kGreen);
        thinSegment(s2a, s2b, kGreen);
    }

    QPoint bisectorStart(QPointF v, double theta) const {
        const double r = theta * 3.14 / 180;
        return QPoint(int(std::nearbyint(v.x() + 10 * std::cos(r))),
                      int(std::nearbyint(v.y() - 10 * std::sin(r))));
    }

    void drawFigure() {
        const FigureState& f = figure_;
        const Directions& d = dirs_;
        const QRgb yellow = paletteColor(kPaletteYellow), red = paletteColor(kPaletteRed);
        const double thetaA =
            d.dirAB < d.dirAD ? (d.dirAB + d.dirAD) / 2 : (d.dirAB + d.dirAD) / 2 + 180;
        const double thetaD =
            d.dirDA > d.dirDC ? (d.dirDA + d.dirDC) / 2 : (d.dirDA + d.dirDC) / 2 + 180;
        mark(f.a(), f.b(), f.d(), f.a(), f.a(), true, bisectorStart(f.a(), thetaA), yellow);
        mark(f.a(), f.b(), f.b(), f.c(), f.b(), shown_[1] > 1,
             QPoint(int(std::nearbyint(f.xB + 28)), int(std::nearbyint(f.yB - 1))), yellow);
        mark(f.b(), f.c(), f.c(), f.d(), f.c(), shown_[2] > 1,
             QPoint(int(std::nearbyint(f.xC - 28)), int(std::nearbyint(f.yC - 1))), yellow);
        mark(f.c(), f.d(), f.d(), f.a(), f.d(), true, bisectorStart(f.d(), thetaD), red);
    }

    void measureAndDraw() {
        shown_ = measureAngles(figure_, dirs_);
        drawFigure();
    }

    QImage image_;
    std::vector<char> visited_;
    int width_ = 3;
    FigureState figure_;
    Directions dirs_;
    std::array<int, 4> shown_{};
};

QString firstDifference(const QImage& a, const QImage& b);

QString mismatch(int op, const QString& what, const Form1& w, const ReferenceBoard& reference) {
    return QStringLiteral("operation %1 (%2): first differing pixel %3")
        .arg(op)
        .arg(what)
        .arg(firstDifference(w.surface().image(), reference.image()));
}

QString firstDifference(const QImage& a, const QImage& b) {
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return QStringLiteral("(%1, %2): %3 vs %4")
                    .arg(x)
                    .arg(y)
                    .arg(a.pixel(x, y), 8, 16)
                    .arg(b.pixel(x, y), 8, 16);
            }
        }
    }
    return QString();
}

} // namespace

class SurfaceDifferentialTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpTestToolkit(); }
    void randomSessionMatchesThePlainBoard();
};

void SurfaceDifferentialTest::randomSessionMatchesThePlainBoard() {
    constexpr int kOperations = 10'000;
    QRandomGenerator rng(4242);
    Form1 w;
    ReferenceBoard reference;
    QCOMPARE(firstDifference(w.surface().image(), reference.image()), QString());

    QPointF pointer(400, 300);
    const auto someDisplacement = [&](double jump) {
        switch (rng.bounded(10)) {
        case 0: // a big jump, sometimes far off the board
            return QPointF(uniform(rng, -jump, jump), uniform(rng, -jump, jump));
        case 1:
            return QPointF(uniform(rng, -0.5, 0.5), uniform(rng, -0.5, 0.5));
        default:
            return QPointF(uniform(rng, -12, 12), uniform(rng, -12, 12));
        }
    };
    QStringList log;
    for (int op = 0; op < kOperations; ++op) {
        const int kind = rng.bounded(100);
        if (kind < 55) { // a drag of A or D by a few steps
            if (w.state().memoOn) {
                w.Command3()->click();
            }
            const int vertex = rng.bounded(2) ? kVertexA : kVertexD;
            const QPointF v = vertex == kVertexA ? w.state().figure.a() : w.state().figure.d();
            pointer = v + QPointF(uniform(rng, -40, 40), uniform(rng, -40, 40));
            const float px = float(pointer.x()), py = float(pointer.y());
            w.gamen_MouseDown(kLeftButton, 0, px, py);
            const int held = w.state().dragVertex;
            const int steps = rng.bounded(1, 6);
            for (int s = 0; s < steps; ++s) {
                const QPointF next = pointer + someDisplacement(900);
                w.gamen_MouseMove(kLeftButton, 0, float(next.x()), float(next.y()));
                if (held != kNoVertex) {
                    reference.dragStep(w.state().figure, w.Check3()->isChecked());
                }
                pointer = next;
                log << QStringLiteral("drag %1 to %2,%3").arg(held).arg(next.x()).arg(next.y());
                if (w.surface().image() != reference.image()) {
                    QFAIL(qPrintable(mismatch(op, log.last(), w, reference)));
                }
            }
            w.gamen_MouseUp(kLeftButton, 0, float(pointer.x()), float(pointer.y()));
        } else if (kind < 65) {
            w.Check3()->click(); // keep traces, or stop keeping them
            continue;
        } else if (kind < 72) {
            w.gamen_MouseDown(kRightButton, 0, 10, 10);
            w.gamen_MouseUp(kRightButton, 0, 10, 10);
            reference.rightPress();
            log << QStringLiteral("right press");
        } else if (kind < 97) { // a memo stroke with any pen
            if (!w.state().memoOn) {
                w.Command3()->click();
            }
            const int pen = rng.bounded(8);
            w.Option1(pen)->setChecked(true);
            reference.setPen(kPens[pen].width);
            pointer = QPointF(uniform(rng, -30, 830), uniform(rng, -30, 650));
            w.gamen_MouseDown(kLeftButton, 0, float(pointer.x()), float(pointer.y()));
            const int segments = rng.bounded(1, 5);
            for (int s = 0; s < segments; ++s) {
                const QPointF from(w.state().lastX, w.state().lastY);
                const QPointF next = pointer + someDisplacement(150);
                w.gamen_MouseMove(kLeftButton, 0, float(next.x()), float(next.y()));
                reference.memoSegment(from, QPointF(w.state().lastX, w.state().lastY),
                                      paletteColor(kPens[pen].colorIndex));
                pointer = next;
            }
            w.gamen_MouseUp(kLeftButton, 0, float(pointer.x()), float(pointer.y()));
            log << QStringLiteral("stroke with pen %1").arg(pen);
        } else {
            w.Command1()->click();
            reference.reset();
            log << QStringLiteral("reset");
        }
        if (w.surface().image() != reference.image()) {
            QFAIL(qPrintable(mismatch(op, log.last(), w, reference)));
        }
    }
}

QTEST_MAIN(SurfaceDifferentialTest)
#include "test_surface_differential.moc"
