// Scripted sessions on the real window: mouse events sent to the board, one
// tool at a time, checking what the user would see.
#include "ascii_image.h"
#include "window_fixture.h"

#include "figure/angles.h"
#include "platform/palette.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::test;

namespace {

QPointF vertexA(const Form1& w) {
    return w.state().figure.a();
}
QPointF vertexD(const Form1& w) {
    return w.state().figure.d();
}

} // namespace

class BoardSessionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpTestToolkit(); }

    // Figure tool.
    void hitWindow_data();
    void hitWindow();
    void dWinsOverA();
    void dragIsRelativeAndFollowedBySidesAndLetter();
    void dragKeepsRealPositions();
    void anyReleaseEndsTheDrag();
    void rightPressRedrawsWithoutMeasuring();
    void nonClearKeepsTraces();
    void middlePressAndHoverChangeOnlyThePointer();
    void dragPastTheEdgeIsNotClamped();
    void pressOnALetterIsTheLetters();
    void everyMoveIsADragStep();
    void farAwayAndBack_data();
    void farAwayAndBack();
    void switchingToolsMidGestureEndsTheGesture();

    // Memo pen.
    void memoOnSelectsTheThinRedPen();
    void pens_data();
    void pens();
    void strokeColourAndWidth();
    void clickWithoutMoveDrawsNothing();
    void eraserRestoresTheBoardButNotTheSides();
    void strokesSurviveMemoOffAndOn();
    void rightPressClearsStrokesKeepsThePen();
    void rightReleaseEndsTheStroke();
    void dragClearsStrokesAtTheFirstMove();

    // Straight lines.
    void firstLineIsWhiteAndTicksBoxOne();
    void colourChoiceLastsUntilTheToolIsSwitchedOff();
    void fifthLineSwitchesTheToolOff();
    void untickedNumberIsFoundAtTheNextSearch();
    void boxTickedByHandIsSkipped();
    void rightReleaseFixesTheLine();
    void memoAndLineToolExcludeEachOther();

    // Grid and reset.
    void gridShowsAndHides();
    void resetFromEveryToolState();
};

void BoardSessionTest::hitWindow_data() {
    QTest::addColumn<QPointF>("offset"); // press position relative to A
    QTest::addColumn<bool>("takesA");
    QTest::newRow("50 right, 50 below: inside") << QPointF(50, 50) << true;
    QTest::newRow("50 left, 50 above: inside") << QPointF(-50, -50) << true;
    QTest::newRow("51 right: outside") << QPointF(51, 0) << false;
    QTest::newRow("51 below: outside") << QPointF(0, 51) << false;
    QTest::newRow("50.5 above: outside") << QPointF(0, -50.5) << false;
}

void BoardSessionTest::hitWindow() {
    QFETCH(QPointF, offset);
    QFETCH(bool, takesA);
    Form1 w;
    Pointer pointer(w);
    const QPointF press = vertexA(w) + offset;
    pointer.press(press);
    QCOMPARE(w.state().dragVertex, takesA ? kVertexA : kNoVertex);
    pointer.move(press + QPointF(5, 5));
    QCOMPARE(vertexA(w), takesA ? QPointF(605, 155) : QPointF(600, 150));
    QCOMPARE(vertexD(w), QPointF(550, 350));
}

void BoardSessionTest::dWinsOverA() {
    Form1 w;
    Pointer pointer(w);
    pointer.drag({550, 350}, {570, 180}); // D next to A
    pointer.press({585, 165});            // within 50 of both
    QCOMPARE(w.state().dragVertex, kVertexD);
    pointer.move({585, 175});
    QCOMPARE(vertexD(w), QPointF(570, 190));
    QCOMPARE(vertexA(w), QPointF(600, 150));
    // Presses next to B or C take nothing: B and C never move.
    pointer.release({585, 175});
    for (QPointF p : {QPointF(100, 500), QPointF(650, 500)}) {
        pointer.press(p);
        QCOMPARE(w.state().dragVertex, kNoVertex);
        pointer.move(p + QPointF(10, 10));
        pointer.release(p + QPointF(10, 10));
    }
    QCOMPARE(w.state().figure.b(), QPointF(100, 500));
    QCOMPARE(w.state().figure.c(), QPointF(650, 500));
}

void BoardSessionTest::dragIsRelativeAndFollowedBySidesAndLetter() {
    Form1 w;
    Pointer pointer(w);
    pointer.press({590, 150}); // 10 left of A
    pointer.move({620, 130});  // +30, -20
    QCOMPARE(vertexA(w), QPointF(630, 130));
    QCOMPARE(w.layer().line1[0].p1, QPointF(630, 130));
    QCOMPARE(w.layer().line1[3].p2, QPointF(630, 130));
    QCOMPARE(w.layer().line1[0].p2, QPointF(100, 500)); // the other ends stay
    QCOMPARE(w.layer().line1[3].p1, QPointF(550, 350));
    QCOMPARE(w.layer().label2[0].topLeft, QPointF(620, 75));
    // The read-out follows, measured again at the move.
    QCOMPARE(w.Label5(0)->text(), QStringLiteral(" 35"));
    pointer.release({620, 130});
    pointer.press({550, 340});
    pointer.move({560, 330});
    QCOMPARE(vertexD(w), QPointF(560, 340));
    QCOMPARE(w.layer().line1[3].p1, QPointF(560, 340));
    QCOMPARE(w.layer().line1[2].p2, QPointF(560, 340));
    QCOMPARE(w.layer().label2[3].topLeft, QPointF(510, 320));
}

void BoardSessionTest::dragKeepsRealPositions() {
    Form1 w;
    Pointer pointer(w);
    pointer.press({590.25, 150.5});
    pointer.move({600.75, 140.125});
    QCOMPARE(vertexA(w), QPointF(610.5, 139.625));
    QCOMPARE(w.state().lastX, 600.75f);
    QCOMPARE(w.state().lastY, 140.125f);
}

void BoardSessionTest::anyReleaseEndsTheDrag() {
    Form1 w;
    Pointer pointer(w);
    pointer.press({600, 150});
    pointer.press({600, 150}, Qt::RightButton);
    pointer.move({610, 160}); // the right press left the drag in progress
    QCOMPARE(vertexA(w), QPointF(610, 160));
    pointer.release({610, 160}, Qt::RightButton);
    QCOMPARE(w.state().dragVertex, kNoVertex);
    pointer.move({650, 200}); // left still held, but nothing is dragged
    QCOMPARE(vertexA(w), QPointF(610, 160));
    pointer.release({650, 200});
}

void BoardSessionTest::rightPressRedrawsWithoutMeasuring() {
    QStringList calls;
    Form1 w([&calls](const QString& h) { calls << h; });
    w.Command3()->click();
    Pointer pointer(w);
    pointer.drag({100, 100}, {300, 100});
    QVERIFY(countColor(w.surface(), kRed) > 500);
    const QImage marksOnly = [] {
        Form1 fresh;
        return fresh.surface().image().copy();
    }();
    calls.clear();
    pointer.press({400, 400}, Qt::RightButton);
    QCOMPARE(calls, QStringList{"DrawFigure"});
    QVERIFY(w.surface().image() == marksOnly);
    pointer.release({400, 400}, Qt::RightButton);
}

void BoardSessionTest::nonClearKeepsTraces() {
    Form1 w;
    Pointer pointer(w);
    w.Check3()->click();
    pointer.press({600, 150});
    for (int i = 1; i <= 10; ++i) {
        pointer.move({600.0 - 20 * i, 150});
    }
    pointer.release({400, 150});
    // Ten positions of A, 20 pixels apart: the marks of earlier positions stay.
    const int withTraces = countColor(w.surface(), kYellow);
    w.Check3()->click();
    pointer.press({400, 150});
    pointer.move({400, 150.5});
    pointer.release({400, 150.5});
    const int latestOnly = countColor(w.surface(), kYellow);
    QVERIFY2(withTraces > latestOnly + 1000,
             qPrintable(QStringLiteral("%1 vs %2").arg(withTraces).arg(latestOnly)));
    // Unticked, the board holds exactly the latest drawing.
    Form1 reference;
    Pointer(reference).drag({600, 150}, {400, 150.5});
    QVERIFY(w.surface().image() == reference.surface().image());
}

void BoardSessionTest::middlePressAndHoverChangeOnlyThePointer() {
    Form1 w;
    const QImage before = w.surface().image().copy();
    Pointer pointer(w);
    pointer.press({600, 150}, Qt::MiddleButton);
    QCOMPARE(w.state().dragVertex, kNoVertex);
    QCOMPARE(w.state().lastX, 600.0f);
    pointer.move({620, 170});
    pointer.release({620, 170}, Qt::MiddleButton);
    pointer.move({300.5, 200.5});
    QCOMPARE(vertexA(w), QPointF(600, 150));
    QCOMPARE(w.state().lastX, 300.5f);
    QCOMPARE(w.state().lastY, 200.5f);
    QCOMPARE(w.layer().shape1.centre(), QPointF(300.5, 200.5));
    QVERIFY(w.surface().image() == before);
}

void BoardSessionTest::dragPastTheEdgeIsNotClamped() {
    Form1 w;
    Pointer pointer(w);
    pointer.press({550, 350});
    pointer.move({-250, 900});
    QCOMPARE(vertexD(w), QPointF(-250, 900));
    QCOMPARE(w.layer().label2[3].topLeft, QPointF(-300, 880));
    pointer.move({550, 350});
    pointer.release({550, 350});
    QCOMPARE(vertexD(w), QPointF(550, 350));
    QCOMPARE(w.Label5(3)->text(), QStringLiteral(" 132"));
}

void BoardSessionTest::pressOnALetterIsTheLetters() {
    Form1 w;
    Pointer pointer(w);
    // The letter of A at (590, 95) lies within 50 of A on both axes, but a
    // press on it is the letter's, and so are its moves and its release.
    const QPointF onLetter(595, 105);
    pointer.press(onLetter);
    QCOMPARE(w.state().dragVertex, kNoVertex);
    QCOMPARE(w.state().lastX, 0.0f);
    pointer.move({620, 130});
    QCOMPARE(vertexA(w), QPointF(600, 150));
    pointer.release({620, 130});
    // A hover move over the letter reaches the board: the circle follows.
    pointer.move(onLetter);
    QCOMPARE(w.layer().shape1.centre(), onLetter);
    QCOMPARE(w.state().lastX, 595.0f);
    // A press beside the letter takes A as before.
    pointer.press({600, 140});
    QCOMPARE(w.state().dragVertex, kVertexA);
    pointer.release({600, 140});
}

void BoardSessionTest::everyMoveIsADragStep() {
    Form1 w;
    Pointer pointer(w);
    pointer.press({550, 350});
    // 1,000 moves of one pixel around a 50-pixel square, five times.
    const QPointF steps[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    QPointF p(550, 350);
    for (int i = 0; i < 1000; ++i) {
        p += steps[(i / 50) % 4];
        pointer.move(p);
    }
    pointer.release(p);
    QCOMPARE(w.dragSteps(), 1000L);
    QCOMPARE(vertexD(w), QPointF(550, 350));
}

void BoardSessionTest::farAwayAndBack_data() {
    QTest::addColumn<QPointF>("vertex");
    QTest::addColumn<QPointF>("far");
    for (const double d : {1e4, 1e7, 1e30}) {
        QTest::addRow("A to (%g, -%g)", d, d) << QPointF(600, 150) << QPointF(d, -d);
        QTest::addRow("D to (-%g, %g)", d, d) << QPointF(550, 350) << QPointF(-d, d);
    }
}

void BoardSessionTest::farAwayAndBack() {
    QFETCH(QPointF, vertex);
    QFETCH(QPointF, far);
    Form1 w;
    const QImage start = w.surface().image().copy();
    Pointer pointer(w);
    pointer.press(vertex);
    pointer.move(far);
    QCOMPARE(w.dragSteps(), 1L);
    const QPointF held = vertex == QPointF(600, 150) ? vertexA(w) : vertexD(w);
    QCOMPARE(held.x(), double(float(far.x())) - double(float(vertex.x())) + vertex.x());
    for (int i = 0; i < 4; ++i) { // the read-out stays whole degrees from 0 to 360
        const double shown = captionValue(w.Label5(i)->text());
        QVERIFY(shown >= 0 && shown <= 360);
    }
    (void)renderBoard(w); // painting with a vertex that far away is safe
    pointer.move(vertex);
    pointer.release(vertex);
    QCOMPARE(vertexA(w), QPointF(600, 150));
    QCOMPARE(vertexD(w), QPointF(550, 350));
    QCOMPARE(w.layer().label2[3].topLeft, QPointF(500, 330));
    QCOMPARE(w.Label5(3)->text(), QStringLiteral(" 132"));
    QVERIFY(w.surface().image() == start);
}

void BoardSessionTest::switchingToolsMidGestureEndsTheGesture() {
    // From the keyboard a tool can be switched while a button is held on the
    // board; the held vertex, pen or unfinished line goes with the old tool.
    {
        Form1 w;
        Pointer pointer(w);
        pointer.press({600, 150});
        w.Command3()->click(); // memo on: the drag ends
        QCOMPARE(w.state().dragVertex, kNoVertex);
        pointer.release({600, 150});
        w.Command3()->click(); // memo off again
        pointer.move({650, 200});
        QCOMPARE(vertexA(w), QPointF(600, 150));
    }
    {
        Form1 w;
        w.Command3()->click();
        Pointer pointer(w);
        pointer.press({100, 100});
        w.Command3()->click(); // memo off mid-stroke
        QCOMPARE(w.state().penDown, 0);
        w.Command3()->click(); // on again: no stroke without a new press
        pointer.move({200, 100});
        QCOMPARE(w.surface().pixel(150, 100), paletteColor(kPaletteGreen));
        pointer.release({200, 100});
    }
    {
        Form1 w;
        w.Command5()->click();
        Pointer pointer(w);
        pointer.press({100, 100});
        pointer.move({200, 200});
        w.Command1()->click(); // reset mid-line: the line was never placed
        QCOMPARE(w.state().lineDrawing, 0);
        QCOMPARE(w.layer().line4[0].p2.x(), 1000.0);
        pointer.release({200, 200});
        w.Command5()->click();
        pointer.move({300, 300});
        QCOMPARE(w.layer().line4[0].p2.x(), 1000.0);
        QVERIFY(!w.Check1(0)->isChecked());
    }
}

void BoardSessionTest::memoOnSelectsTheThinRedPen() {
    QStringList calls;
    Form1 w([&calls](const QString& h) { calls << h; });
    w.Command3()->click();
    w.Option1(7)->click();
    w.Command3()->click(); // off
    QVERIFY(!w.layer().shape1.visible);
    calls.clear();
    w.Command3()->click(); // on again: always the thin red pen
    QCOMPARE(calls, (QStringList{"Command3_Click", "Option1_Click(0)"}));
    QCOMPARE(w.state().memoOn, 1);
    QCOMPARE(w.state().penColorIndex, kPaletteRed);
    QCOMPARE(w.surface().lineWidth(), 3);
    QVERIFY(!w.layer().shape1.visible);
    for (int i = 0; i < 8; ++i) {
        QVERIFY(w.Option1(i)->isEnabled());
    }
    for (int i = 0; i < 4; ++i) {
        QVERIFY(!w.Option2(i)->isEnabled());
        QVERIFY(!w.Option2(i)->isChecked());
    }
    QVERIFY(w.Command3()->font().bold());
    QVERIFY(!w.Command5()->font().bold());
}

void BoardSessionTest::pens_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("colorIndex");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("circle");
    QTest::newRow("thin red") << 0 << 12 << 3 << false;
    QTest::newRow("thin yellow") << 1 << 14 << 3 << false;
    QTest::newRow("thin blue") << 2 << 9 << 3 << false;
    QTest::newRow("thin eraser") << 3 << 2 << 15 << true;
    QTest::newRow("bold red") << 4 << 12 << 6 << false;
    QTest::newRow("bold yellow") << 5 << 14 << 6 << false;
    QTest::newRow("bold blue") << 6 << 9 << 6 << false;
    QTest::newRow("bold eraser") << 7 << 2 << 25 << true;
}

void BoardSessionTest::pens() {
    QFETCH(int, index);
    QFETCH(int, colorIndex);
    QFETCH(int, width);
    QFETCH(bool, circle);
    Form1 w;
    w.Command3()->click();
    w.Option1(7)->click(); // start from the circle shown
    w.Option1(index)->click();
    QCOMPARE(w.state().penColorIndex, colorIndex);
    QCOMPARE(w.surface().lineWidth(), width);
    QCOMPARE(w.layer().shape1.visible, circle);
    // The circle's box: as wide as the eraser, centred on the pointer.
    Pointer(w).move({200.5, 300.5});
    if (circle) {
        QCOMPARE(w.layer().shape1.width, double(width));
        QCOMPARE(w.layer().shape1.diameter(), double(width));
        QCOMPARE(w.layer().shape1.centre(), QPointF(200.5, 300.5));
    }
    // A stroke has the pen's colour; DrawFigure never changes the pen.
    Pointer pointer(w);
    pointer.drag({100, 300}, {300, 300});
    QCOMPARE(w.surface().pixel(200, 300), paletteColor(colorIndex));
    pointer.press({10, 10}, Qt::RightButton);
    pointer.release({10, 10}, Qt::RightButton);
    QCOMPARE(w.surface().lineWidth(), width);
}

void BoardSessionTest::strokeColourAndWidth() {
    Form1 w;
    w.Command3()->click();
    Pointer pointer(w);
    pointer.press({100, 100});
    pointer.move({150, 100});
    pointer.move({200, 130});
    pointer.release({200, 130});
    for (int dy = -1; dy <= 1; ++dy) {
        QCOMPARE(w.surface().pixel(125, 100 + dy), kRed);
    }
    QCOMPARE(w.surface().pixel(125, 98), kGreen);
    QCOMPARE(w.surface().pixel(125, 102), kGreen);
    QCOMPARE(w.surface().pixel(175, 115), kRed); // second segment
    w.Option1(6)->click();                       // bold blue
    pointer.drag({100, 200}, {200, 200});
    for (int dy = -3; dy <= 3; ++dy) {
        QCOMPARE(w.surface().pixel(150, 200 + dy), kBlue);
    }
    QCOMPARE(w.surface().pixel(150, 204), kGreen);
}

void BoardSessionTest::clickWithoutMoveDrawsNothing() {
    Form1 w;
    w.Command3()->click();
    const QImage before = w.surface().image().copy();
    Pointer pointer(w);
    pointer.press({300, 300});
    pointer.release({300, 300});
    QVERIFY(w.surface().image() == before);
}

void BoardSessionTest::eraserRestoresTheBoardButNotTheSides() {
    Form1 w;
    w.Command3()->click();
    Pointer pointer(w);
    pointer.drag({300, 250}, {400, 250});
    QCOMPARE(w.surface().pixel(350, 250), kRed);
    w.Option1(7)->click();
    pointer.drag({300, 250}, {400, 250});
    QCOMPARE(w.surface().pixel(350, 250), kGreen);
    QVERIFY(w.surface().image() == Form1().surface().image()); // the stroke is gone
    // Over the side AB: the side is an object above the surface and stays.
    pointer.drag({350, 325}, {360, 318});
    pointer.move({700, 600}); // take the eraser's circle away from the side
    QCOMPARE(w.layer().line1[0].p1, QPointF(600, 150));
    const QImage shown = renderBoard(w);
    QCOMPARE(shown.pixel(350, 325), paletteColor(kPaletteWhite));
}

void BoardSessionTest::strokesSurviveMemoOffAndOn() {
    Form1 w;
    w.Command3()->click();
    Pointer(w).drag({300, 250}, {400, 250});
    w.Command3()->click();
    QCOMPARE(w.state().memoOn, 0);
    w.Command3()->click();
    QCOMPARE(w.surface().pixel(350, 250), kRed);
}

void BoardSessionTest::rightPressClearsStrokesKeepsThePen() {
    Form1 w;
    w.Command3()->click();
    w.Option1(5)->click(); // bold yellow
    Pointer pointer(w);
    pointer.drag({300, 250}, {400, 250});
    pointer.press({10, 10}, Qt::RightButton);
    pointer.release({10, 10}, Qt::RightButton);
    QCOMPARE(w.surface().pixel(350, 250), kGreen);
    QCOMPARE(w.surface().pixel(594, 158), kYellow); // the marks are repainted
    pointer.drag({300, 260}, {400, 260});
    QCOMPARE(w.surface().pixel(350, 263), kYellow);
}

void BoardSessionTest::rightReleaseEndsTheStroke() {
    Form1 w;
    w.Command3()->click();
    Pointer pointer(w);
    pointer.press({100, 400});
    pointer.move({150, 400});
    pointer.press({150, 400}, Qt::RightButton); // clears, the pen stays down
    QCOMPARE(w.state().penDown, 1);
    pointer.release({150, 400}, Qt::RightButton);
    QCOMPARE(w.state().penDown, 0);
    pointer.move({250, 400});
    pointer.release({250, 400});
    QCOMPARE(w.surface().pixel(200, 400), kGreen);
}

void BoardSessionTest::dragClearsStrokesAtTheFirstMove() {
    Form1 w;
    w.Command3()->click();
    Pointer pointer(w);
    pointer.drag({300, 250}, {400, 250});
    w.Command3()->click(); // back to the figure
    pointer.press({600, 150});
    QCOMPARE(w.surface().pixel(350, 250), kRed);
    pointer.move({601, 150});
    QCOMPARE(w.surface().pixel(350, 250), kGreen);
    pointer.release({601, 150});
}

void BoardSessionTest::firstLineIsWhiteAndTicksBoxOne() {
    Form1 w;
    w.Command5()->click();
    QCOMPARE(w.state().lineMode, 1);
    QCOMPARE(w.state().nextLineNumber, 1);
    QVERIFY(w.Option2(3)->isChecked());
    QVERIFY(w.Command5()->font().bold());
    Pointer pointer(w);
    pointer.press({100.5, 100.25});
    QCOMPARE(w.layer().line4[0].p1, QPointF(100.5, 100.25));
    QCOMPARE(w.layer().line4[0].p2, QPointF(100.5, 100.25));
    pointer.move({300, 200});
    QCOMPARE(w.layer().line4[0].p2, QPointF(300, 200));
    QVERIFY(!w.Check1(0)->isChecked());
    pointer.release({320, 210});
    QCOMPARE(w.layer().line4[0].p2, QPointF(320, 210));
    QCOMPARE(w.layer().line4[0].color, paletteColor(kPaletteWhite));
    QCOMPARE(w.layer().line4[0].width, 4);
    QVERIFY(w.Check1(0)->isChecked());
    QCOMPARE(w.state().nextLineNumber, 2);
    // A press and release at one point still takes its number.
    pointer.press({50, 50});
    pointer.release({50, 50});
    QVERIFY(w.Check1(1)->isChecked());
    QCOMPARE(w.state().nextLineNumber, 3);
}

void BoardSessionTest::colourChoiceLastsUntilTheToolIsSwitchedOff() {
    Form1 w;
    w.Command5()->click();
    w.Option2(2)->click();
    QCOMPARE(w.state().lineColorIndex, kPaletteBlue);
    Pointer pointer(w);
    pointer.drag({10, 10}, {100, 100});
    pointer.drag({10, 20}, {100, 110});
    QCOMPARE(w.layer().line4[0].color, kBlue);
    QCOMPARE(w.layer().line4[1].color, kBlue);
    w.Command5()->click();
    QVERIFY(!w.Option2(0)->isEnabled());
    w.Command5()->click();
    QCOMPARE(w.state().lineColorIndex, kPaletteWhite);
    pointer.drag({10, 30}, {100, 120});
    QCOMPARE(w.layer().line4[2].color, paletteColor(kPaletteWhite));
    QCOMPARE(w.layer().line4[0].color, kBlue); // placed lines keep their colours
}

void BoardSessionTest::fifthLineSwitchesTheToolOff() {
    Form1 w;
    w.Command5()->click();
    Pointer pointer(w);
    for (int i = 0; i < 5; ++i) {
        pointer.drag({10, 10.0 + 10 * i}, {200, 10.0 + 10 * i});
    }
    QCOMPARE(w.state().lineMode, 0);
    QCOMPARE(w.state().nextLineNumber, 0);
    QVERIFY(!w.Command5()->font().bold());
    for (int i = 0; i < 4; ++i) {
        QVERIFY(!w.Option2(i)->isEnabled());
    }
    // The next left press goes to the figure.
    pointer.press({600, 150});
    QCOMPARE(w.state().dragVertex, kVertexA);
    pointer.release({600, 150});
    // All five taken: switching the tool on does nothing.
    w.Command5()->click();
    QCOMPARE(w.state().lineMode, 0);
    QVERIFY(!w.Option2(0)->isEnabled());
    // Unticking box 3 parks its line; the tool then starts at number 3.
    w.Check1(2)->click();
    QCOMPARE(w.layer().line4[2].p1.x(), 1000.0);
    QCOMPARE(w.layer().line4[2].p2.x(), 1000.0);
    QCOMPARE(w.layer().line4[2].p1.y(), 30.0);
    w.Command5()->click();
    QCOMPARE(w.state().nextLineNumber, 3);
}

void BoardSessionTest::untickedNumberIsFoundAtTheNextSearch() {
    Form1 w;
    w.Command5()->click();
    Pointer pointer(w);
    pointer.drag({10, 10}, {200, 10});
    pointer.drag({10, 20}, {200, 20});
    QCOMPARE(w.state().nextLineNumber, 3);
    w.Check1(0)->click(); // freed, but not searched for yet
    QCOMPARE(w.state().nextLineNumber, 3);
    pointer.drag({10, 30}, {200, 30});
    QCOMPARE(w.layer().line4[2].p1, QPointF(10, 30));
    QCOMPARE(w.state().nextLineNumber, 1);
    QCOMPARE(w.layer().line4[0].p1.x(), 1000.0);
}

void BoardSessionTest::boxTickedByHandIsSkipped() {
    Form1 w;
    w.Check1(1)->click();
    w.Command5()->click();
    Pointer pointer(w);
    pointer.drag({10, 10}, {200, 10});
    QCOMPARE(w.state().nextLineNumber, 3);
    QCOMPARE(w.layer().line4[1].p1.x(), 1000.0); // taken by hand, still parked
    pointer.drag({10, 20}, {200, 20});
    QCOMPARE(w.layer().line4[2].p1, QPointF(10, 20));
}

void BoardSessionTest::rightReleaseFixesTheLine() {
    Form1 w;
    w.Command5()->click();
    Pointer pointer(w);
    pointer.press({10, 10});
    pointer.move({100, 100});
    pointer.press({100, 100}, Qt::RightButton);
    pointer.release({110, 90}, Qt::RightButton);
    QCOMPARE(w.layer().line4[0].p2, QPointF(110, 90));
    QVERIFY(w.Check1(0)->isChecked());
    QCOMPARE(w.state().lineDrawing, 0);
    pointer.move({300, 300});
    QCOMPARE(w.layer().line4[0].p2, QPointF(110, 90));
    pointer.release({300, 300});
    QVERIFY(!w.Check1(1)->isChecked());
}

void BoardSessionTest::memoAndLineToolExcludeEachOther() {
    Form1 w;
    Pointer pointer(w);
    w.Command5()->click();
    pointer.drag({10, 10}, {200, 10});
    w.Command3()->click();
    QCOMPARE(w.state().lineMode, 0);
    QCOMPARE(w.state().memoOn, 1);
    QVERIFY(!w.Command5()->font().bold());
    for (int i = 0; i < 4; ++i) {
        QVERIFY(!w.Option2(i)->isEnabled());
    }
    QCOMPARE(w.layer().line4[0].p2, QPointF(200, 10)); // placed lines stay
    w.Option1(3)->click();
    w.Command5()->click();
    QCOMPARE(w.state().memoOn, 0);
    QCOMPARE(w.state().lineMode, 1);
    QVERIFY(!w.layer().shape1.visible);
    QVERIFY(!w.Command3()->font().bold());
    for (int i = 0; i < 8; ++i) {
        QVERIFY(!w.Option1(i)->isEnabled());
        QVERIFY(!w.Option1(i)->isChecked());
    }
    QCOMPARE(w.state().penColorIndex, kPaletteGreen); // the other row's variable stays
    // Switching the line tool off leaves the pens disabled: the figure has the board.
    w.Command5()->click();
    QVERIFY(!w.Option1(0)->isEnabled());
    pointer.press({600, 150});
    QCOMPARE(w.state().dragVertex, kVertexA);
    pointer.release({600, 150});
}

void BoardSessionTest::gridShowsAndHides() {
    Form1 w;
    w.Command4()->click();
    QCOMPARE(w.state().gridShown, 1);
    QVERIFY(w.Command4()->font().bold());
    int visible = 0;
    for (const LineObject& l : w.layer().line2) {
        visible += l.visible;
    }
    for (const LineObject& l : w.layer().line3) {
        visible += l.visible;
    }
    QCOMPARE(visible, 59);
    // Clearing the board and dragging leave the grid alone.
    Pointer pointer(w);
    pointer.press({5, 5}, Qt::RightButton);
    pointer.release({5, 5}, Qt::RightButton);
    pointer.drag({600, 150}, {610, 160});
    QCOMPARE(w.state().gridShown, 1);
    QVERIFY(w.layer().line3[32].visible);
    QCOMPARE(w.layer().line3[32].p1, QPointF(800, 0));
    QCOMPARE(w.layer().line2[25].p2, QPointF(800, 625));
    // The screen shows the grid line at y = 625 and x = 800 in black.
    const QImage shown = renderBoard(w);
    QCOMPARE(shown.pixel(13, 625), qRgb(0, 0, 0));
    QCOMPARE(shown.pixel(800, 13), qRgb(0, 0, 0));
    QCOMPARE(shown.pixel(13, 13), kGreen);
    w.Command4()->click();
    QCOMPARE(w.state().gridShown, 0);
    QVERIFY(!w.Command4()->font().bold());
    QVERIFY(!w.layer().line2[0].visible);
    w.Command4()->click();
    w.Command1()->click();
    QVERIFY(!w.layer().line2[0].visible);
    QVERIFY(!w.Command4()->font().bold());
    w.Command4()->click();
    QVERIFY(w.layer().line2[0].visible);
}

void BoardSessionTest::resetFromEveryToolState() {
    const auto expectIdle = [](Form1& w) {
        QCOMPARE(w.state().memoOn, 0);
        QCOMPARE(w.state().lineMode, 0);
        QCOMPARE(w.state().dragVertex, kNoVertex);
        QCOMPARE(w.state().nextLineNumber, 0);
        QCOMPARE(w.surface().lineWidth(), 3);
        QCOMPARE(vertexA(w), QPointF(600, 150));
        QCOMPARE(vertexD(w), QPointF(550, 350));
        QVERIFY(!w.layer().shape1.visible);
        for (QPushButton* b : {w.Command3(), w.Command4(), w.Command5()}) {
            QVERIFY(!b->font().bold());
        }
    };
    {
        Form1 w; // during a drag: the reset drops the held vertex
        Pointer pointer(w);
        pointer.press({600, 150});
        pointer.move({500, 100});
        w.InitialScreen();
        expectIdle(w);
        pointer.move({520, 120});
        QCOMPARE(vertexA(w), QPointF(600, 150));
        pointer.release({520, 120});
    }
    {
        Form1 w; // memo on with the thin eraser
        w.Command3()->click();
        w.Option1(3)->click();
        Pointer(w).drag({100, 100}, {200, 200});
        w.Command1()->click();
        expectIdle(w);
        QCOMPARE(w.state().penColorIndex, kPaletteGreen);
        QVERIFY(w.Option1(3)->isChecked());
        w.Command3()->click();
        QCOMPARE(w.state().penColorIndex, kPaletteRed);
    }
    {
        Form1 w; // all five lines drawn
        w.Command5()->click();
        Pointer pointer(w);
        for (int i = 0; i < 5; ++i) {
            pointer.drag({10, 10.0 + 10 * i}, {200, 10.0 + 10 * i});
        }
        w.Command1()->click();
        expectIdle(w);
        for (int i = 0; i < 5; ++i) {
            QVERIFY(!w.Check1(i)->isChecked());
            QCOMPARE(w.layer().line4[i].p1.x(), 1000.0);
        }
    }
}

QTEST_MAIN(BoardSessionTest)
#include "test_board_session.moc"
