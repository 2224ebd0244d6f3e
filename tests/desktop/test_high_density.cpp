// SPDX-License-Identifier: MIT
// The window on a screen with two device pixels per pixel, as on a projector
// or a high-density display: the layout keeps its size in logical pixels,
// pointer positions stay board pixels, the board's pixels are enlarged
// without blur and the light objects are drawn at the screen's resolution;
// at any factor the board shows the core's composition at that factor, the
// very device pixels the page shows (tests/web).
#include "window_fixture.h"

#include <QTest>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace orvanel;
using namespace orvanel::test;

namespace {

double distanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t =
        length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

// The board pixels within 1.5 pixels of a light object shown on the board:
// a line, the cursor circle or a letter.
class LightMask {
public:
    explicit LightMask(const DesktopWindow& w) : near_(802 * 626) {
        const BoardLayer& layer = w.model().layer();
        std::vector<QRectF> boxes;
        for (int i = 0; i < int(layer.letters().size()); ++i) {
            boxes.push_back(w.board()->letterBox(i));
        }
        if (const CursorCircle& circle = layer.cursorCircle(); circle.visible) {
            const RectF bounds = circle.bounds();
            boxes.push_back(QRectF(bounds.left, bounds.top, bounds.width, bounds.height));
        }
        std::vector<const LineObject*> lines;
        layer.forEachLineInPaintOrder([&](const LineObject& line) {
            if (line.visible) {
                lines.push_back(&line);
            }
        });
        constexpr double margin = 1.5;
        for (int y = 0; y < 626; ++y) {
            for (int x = 0; x < 802; ++x) {
                const QPointF centre(x + 0.5, y + 0.5);
                near_[y * 802 + x] =
                    std::any_of(
                        boxes.begin(), boxes.end(),
                        [&](const QRectF& box) {
                            return box.adjusted(-margin, -margin, margin, margin).contains(centre);
                        }) ||
                    std::any_of(lines.begin(), lines.end(), [&](const LineObject* line) {
                        return distanceToSegment(centre, toQPointF(line->p1),
                                                 toQPointF(line->p2)) <= line->width / 2.0 + margin;
                    });
            }
        }
    }
    bool operator()(int x, int y) const { return near_[y * 802 + x]; }

private:
    std::vector<bool> near_;
};

// The board pixels that the device pixel `d` overlaps along one axis.
std::pair<int, int> boardPixelsUnder(int d, qreal ratio) {
    return {int(std::floor(d / ratio)), int(std::ceil((d + 1) / ratio)) - 1};
}

// The window's own position of board position `p`.
QPoint inWindow(const DesktopWindow& w, QPointF p) {
    return w.board()->mapTo(&w, p.toPoint());
}

// Counts the mouse moves that reach an object with a button held.
class MoveCounter : public QObject {
public:
    explicit MoveCounter(QObject* target) { target->installEventFilter(this); }
    int moves = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        moves += event->type() == QEvent::MouseMove &&
                         static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton
                     ? 1
                     : 0;
        return false;
    }
};

} // namespace

class HighDensityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpTestToolkit(); }
    void windowKeepsItsLogicalSize();
    void dragKeepsBoardPixels_data();
    void dragKeepsBoardPixels();
    void surfaceEnlargedWithoutBlur_data();
    void surfaceEnlargedWithoutBlur();
    void sidesDrawnAtScreenResolution();
    void screenShowsThePaintedBoard();
    void paintingInPiecesMatchesPaintingWhole_data();
    void paintingInPiecesMatchesPaintingWhole();
    void boardIsTheCoresComposition_data();
    void boardIsTheCoresComposition();
};

void HighDensityTest::windowKeepsItsLogicalSize() {
    DesktopWindow w;
    w.show();
    QCOMPARE(w.devicePixelRatio(), 2.0);
    QCOMPARE(w.windowHandle()->devicePixelRatio(), 2.0);
    QCOMPARE(w.size(), QSize(917, 687));
    QCOMPARE(w.board()->size(), QSize(802, 626));
    QCOMPARE(w.board()->mapTo(&w, QPoint(0, 0)), QPoint(10, 50));
    QCOMPARE(w.widget(controls::Command1)->geometry(), QRect(824, 8, 81, 33));
    const QImage shot = w.grab().toImage();
    QCOMPARE(shot.size(), QSize(1834, 1374));
    QCOMPARE(shot.devicePixelRatio(), 2.0);
}

void HighDensityTest::dragKeepsBoardPixels_data() {
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<bool>("vertexA");
    QTest::newRow("A") << QPointF(600, 150) << QPointF(630, 130) << true;
    QTest::newRow("D") << QPointF(550, 350) << QPointF(505, 375) << false;
}

void HighDensityTest::dragKeepsBoardPixels() {
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(bool, vertexA);
    DesktopWindow w;
    w.show();
    // Through the window system's path: the events start in device pixels
    // and reach the board converted to logical ones.
    QWindow* window = w.windowHandle();
    MoveCounter reached(w.board());
    QTest::mousePress(window, Qt::LeftButton, {}, inWindow(w, from));
    QTest::mouseMove(window, inWindow(w, to));
    QTest::mouseRelease(window, Qt::LeftButton, {}, inWindow(w, to));
    QCOMPARE(reached.moves, 1);
    const FigureState& f = w.model().state().figure;
    QCOMPARE(toQPointF(vertexA ? f.a() : f.d()), to);
    QCOMPARE(toQPointF(vertexA ? f.d() : f.a()), vertexA ? QPointF(550, 350) : QPointF(600, 150));
}

void HighDensityTest::surfaceEnlargedWithoutBlur_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("2") << 2.0;
    QTest::newRow("1.5") << 1.5;
}

void HighDensityTest::surfaceEnlargedWithoutBlur() {
    QFETCH(qreal, ratio);
    DesktopWindow w;
    w.show();
    const QImage shown = renderBoard(w, ratio);
    QCOMPARE(shown.size(), (QSizeF(802, 626) * ratio).toSize());
    const RasterSurface& surface = w.model().surface();
    const LightMask nearLightObject(w);
    // Each device pixel away from the light objects has the colour of one of
    // the board pixels it covers: no blend of neighbours, no shift. At 2 that
    // is exactly one board pixel, a block of 2 x 2 device pixels.
    long checked = 0;
    for (int dy = 0; dy < shown.height(); ++dy) {
        const auto [y0, y1] = boardPixelsUnder(dy, ratio);
        for (int dx = 0; dx < shown.width(); ++dx) {
            const auto [x0, x1] = boardPixelsUnder(dx, ratio);
            if (nearLightObject(x0, y0) || nearLightObject(x1, y1) || nearLightObject(x0, y1) ||
                nearLightObject(x1, y0)) {
                continue;
            }
            const QRgb p = shown.pixel(dx, dy);
            const bool fromBoard = p == surface.pixel(x0, y0) || p == surface.pixel(x1, y0) ||
                                   p == surface.pixel(x0, y1) || p == surface.pixel(x1, y1);
            if (!fromBoard) {
                QFAIL(qPrintable(
                    QStringLiteral("device pixel %1,%2 is %3").arg(dx).arg(dy).arg(p, 8, 16)));
            }
            ++checked;
        }
    }
    QVERIFY(checked > shown.width() * shown.height() * 9 / 10);
}

void HighDensityTest::sidesDrawnAtScreenResolution() {
    DesktopWindow w;
    w.show();
    const QImage sharp = renderBoard(w, 2);
    const QImage enlarged =
        renderBoard(w).scaled(sharp.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const LightMask nearLightObject(w);
    // Beside the light objects the picture is the 1:1 picture enlarged; on
    // the slanted sides the edges step by device pixels, not by board pixels.
    long sideDetail = 0;
    for (int dy = 0; dy < sharp.height(); ++dy) {
        for (int dx = 0; dx < sharp.width(); ++dx) {
            if (sharp.pixel(dx, dy) == enlarged.pixel(dx, dy)) {
                continue;
            }
            QVERIFY2(nearLightObject(dx / 2, dy / 2),
                     qPrintable(QStringLiteral("device pixel %1,%2").arg(dx).arg(dy)));
            ++sideDetail;
        }
    }
    QVERIFY2(sideDetail > 1000, qPrintable(QString::number(sideDetail)));
    long splitBlocks = 0;
    for (int y = 0; y < 626; ++y) {
        for (int x = 0; x < 802; ++x) {
            const QRgb corner = sharp.pixel(2 * x, 2 * y);
            splitBlocks += corner != sharp.pixel(2 * x + 1, 2 * y) ||
                           corner != sharp.pixel(2 * x, 2 * y + 1) ||
                           corner != sharp.pixel(2 * x + 1, 2 * y + 1);
        }
    }
    QVERIFY2(splitBlocks > 500, qPrintable(QString::number(splitBlocks)));
    // The middle of side BC and of side AB are chalk white.
    QCOMPARE(sharp.pixel(2 * 375, 2 * 500), QRgb(paletteColor(kPaletteWhite)));
    QCOMPARE(sharp.pixel(2 * 350, 2 * 325), QRgb(paletteColor(kPaletteWhite)));
}

void HighDensityTest::screenShowsThePaintedBoard() {
    DesktopWindow w;
    w.show();
    const QImage grabbed = w.board()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(grabbed.devicePixelRatio(), 2.0);
    QVERIFY(grabbed == renderBoard(w, 2));
}

void HighDensityTest::paintingInPiecesMatchesPaintingWhole_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1") << 1.0;
    QTest::newRow("1.25") << 1.25;
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("2") << 2.0;
}

// A drag repaints the board piece by piece. Where a board pixel spans a
// fractional number of device pixels, the pieces' edges cut through device
// pixels: those must be painted all the same, and a line must come out the
// same whichever piece draws it, or the screen keeps seams and stray pixels.
void HighDensityTest::paintingInPiecesMatchesPaintingWhole() {
    QFETCH(qreal, ratio);
    DesktopWindow w;
    w.show();
    w.button(controls::Command4)->click(); // grid on
    Pointer(w).drag({600, 150}, {381.5, 303.25});
    const QImage whole = renderBoard(w, ratio);
    QImage pieces(whole.size(), QImage::Format_RGB32);
    pieces.setDevicePixelRatio(ratio);
    pieces.fill(Qt::magenta);
    {
        QPainter painter(&pieces);
        for (int y = 0; y < 626; y += 37) {
            for (int x = 0; x < 802; x += 51) {
                w.board()->paintBoard(painter, QRect(x, y, 51, 37));
            }
        }
    }
    QVERIFY(pieces == whole);
}

void HighDensityTest::boardIsTheCoresComposition_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("0.8") << 0.8;
}

// The board at a factor is the core's composition at that factor, the
// letters' boxes aside: the page shows the same device pixels (its test at
// ?scale=1.5 and 0.8), so both shells show one core's pixels.
void HighDensityTest::boardIsTheCoresComposition() {
    QFETCH(qreal, ratio);
    DesktopWindow w;
    w.show();
    // The grid, traces of D left with nonClear, a line, a memo stroke and
    // the eraser's circle.
    w.button(controls::Command4)->click();
    w.button(controls::Check3)->click();
    Pointer pointer(w);
    pointer.drag({550, 350}, {505.5, 371.25});
    pointer.drag({505.5, 371.25}, {470, 300});
    w.button(controls::Command5)->click();
    pointer.drag({20, 40}, {760, 590.5});
    w.button(controls::Command5)->click();
    w.button(controls::Command3)->click();
    pointer.drag({60, 500}, {300, 560});
    w.button(controls::Option1[7])->click(); // the bold eraser, its circle shown
    pointer.move({200, 200});

    // Painted at `ratio` device pixels per board pixel by the painter's own
    // scale: Qt scales a painter by its device's pixel ratio only above 1.
    const BoardScale scale = BoardScale::at(ratio);
    QImage shown(scale.width, scale.height, QImage::Format_RGB32);
    {
        QPainter painter(&shown);
        painter.scale(ratio, ratio);
        w.board()->paintBoard(painter, w.board()->rect());
    }
    PixelBuffer composed(Size{scale.width, scale.height}, kBoardGreen);
    w.session().composeBoard(composed.view(), composed.rect(), scale);
    long differing = 0;
    long compared = 0;
    for (int dy = 0; dy < scale.height; ++dy) {
        for (int dx = 0; dx < scale.width; ++dx) {
            const QPoint at(int(dx / scale.kx()), int(dy / scale.ky()));
            bool onLetter = false;
            for (int i = 0; i < 4; ++i) {
                onLetter = onLetter || w.board()->letterBox(i).adjusted(-1, -1, 1, 1).contains(at);
            }
            if (!onLetter) {
                ++compared;
                differing += QRgb(composed.pixel(dx, dy)) != shown.pixel(dx, dy) ? 1 : 0;
            }
        }
    }
    QCOMPARE(differing, 0L);
    QVERIFY(compared > long(scale.width) * scale.height * 9 / 10);
}

// The scale factor is read once, when the application starts.
int main(int argc, char* argv[]) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    HighDensityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_high_density.moc"
