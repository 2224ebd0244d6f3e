// The window as the user first sees it: every control of the design, start-up,
// the reset, the read-out switch and exit.
#include "window_fixture.h"

#include "platform/palette.h"

#include <QFontInfo>
#include <QPainter>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTest>

using namespace orvanel;
using namespace orvanel::test;

namespace {

struct Expected {
    const char* object;
    const char* kind;
    const char16_t* caption;
    QRect geometry; // width/height 0: the control sizes itself to its text
    bool visible;
    bool enabled;
};

// The design, as the user must find it right after start-up.
const Expected kControls[] = {
    {"Label1", "QLabel", u"くさび形の角", {8, 8, 0, 0}, true, true},
    {"Command5", "QPushButton", u"直線", {232, 8, 57, 33}, true, true},
    {"Option2_0", "QRadioButton", u"赤", {296, 8, 33, 17}, true, false},
    {"Option2_1", "QRadioButton", u"黄", {336, 8, 33, 17}, true, false},
    {"Option2_2", "QRadioButton", u"青", {376, 8, 33, 17}, true, false},
    {"Option2_3", "QRadioButton", u"白", {416, 8, 33, 17}, true, false},
    {"Check1_0", "QCheckBox", u"1", {296, 24, 25, 17}, true, true},
    {"Check1_1", "QCheckBox", u"2", {328, 24, 25, 17}, true, true},
    {"Check1_2", "QCheckBox", u"3", {360, 24, 25, 17}, true, true},
    {"Check1_3", "QCheckBox", u"4", {392, 24, 25, 17}, true, true},
    {"Check1_4", "QCheckBox", u"5", {424, 24, 25, 17}, true, true},
    {"Command3", "QPushButton", u"メモ", {464, 8, 57, 33}, true, true},
    {"Label4_0", "QLabel", u"太字", {528, 10, 0, 0}, true, true},
    {"Label4_1", "QLabel", u"細字", {528, 27, 0, 0}, true, true},
    {"Option1_4", "QRadioButton", u"赤", {560, 8, 57, 17}, true, false},
    {"Option1_5", "QRadioButton", u"黄", {600, 8, 57, 17}, true, false},
    {"Option1_6", "QRadioButton", u"青", {640, 8, 57, 17}, true, false},
    {"Option1_7", "QRadioButton", u"消しゴム", {680, 8, 81, 17}, true, false},
    {"Option1_0", "QRadioButton", u"赤", {560, 24, 57, 17}, true, false},
    {"Option1_1", "QRadioButton", u"黄", {600, 24, 57, 17}, true, false},
    {"Option1_2", "QRadioButton", u"青", {640, 24, 57, 17}, true, false},
    {"Option1_3", "QRadioButton", u"消しゴム", {680, 24, 81, 17}, true, false},
    {"Command1", "QPushButton", u"初期画面", {824, 8, 81, 33}, true, true},
    {"Command4", "QPushButton", u"方眼", {840, 64, 65, 33}, true, true},
    {"Label3_0", "QLabel", u"∠Ａ =", {824, 152, 0, 0}, false, true},
    {"Label3_1", "QLabel", u"∠Ｂ =", {824, 232, 0, 0}, false, true},
    {"Label3_2", "QLabel", u"∠Ｃ =", {824, 312, 0, 0}, false, true},
    {"Label3_3", "QLabel", u"∠Ｄ =", {824, 392, 0, 0}, false, true},
    {"Label5_0", "QLabel", u" 41", {0, 184, 0, 0}, false, true},
    {"Label5_1", "QLabel", u" 35", {0, 264, 0, 0}, false, true},
    {"Label5_2", "QLabel", u" 56", {0, 344, 0, 0}, false, true},
    {"Label5_3", "QLabel", u" 132", {0, 424, 0, 0}, false, true},
    {"Label6_0", "QLabel", u"°", {896, 184, 9, 17}, false, true},
    {"Label6_1", "QLabel", u"°", {896, 264, 17, 17}, false, true},
    {"Label6_2", "QLabel", u"°", {896, 344, 9, 17}, false, true},
    {"Label6_3", "QLabel", u"°", {896, 424, 9, 17}, false, true},
    {"Check2", "QCheckBox", u"angle", {840, 488, 65, 25}, true, true},
    {"Check3", "QCheckBox", u"nonClear", {840, 528, 73, 25}, true, true},
    {"Command2", "QPushButton", u"終了", {824, 640, 81, 33}, true, true},
    {"gamen", "QFrame", u"", {8, 48, 806, 630}, true, true},
};

QString textOf(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        return button->text();
    }
    return QString();
}

// Everything a reset is meant to restore, as one comparable picture.
QStringList snapshot(const Form1& w) {
    QStringList s;
    const WindowState& v = w.state();
    const FigureState& f = v.figure;
    s << QStringLiteral("vertices %1 %2 %3 %4 %5 %6 %7 %8")
             .arg(f.xA)
             .arg(f.yA)
             .arg(f.xB)
             .arg(f.yB)
             .arg(f.xC)
             .arg(f.yC)
             .arg(f.xD)
             .arg(f.yD);
    s << QStringLiteral("vars %1 %2 %3 %4 %5 %6 %7 %8 %9")
             .arg(v.memoOn)
             .arg(v.lineMode)
             .arg(v.nextLineNumber)
             .arg(v.dragVertex)
             .arg(v.gridShown)
             .arg(v.anglesShown)
             .arg(v.penColorIndex)
             .arg(v.lineColorIndex)
             .arg(w.surface().lineWidth());
    const BoardLayer& l = w.layer();
    for (const LineObject& line : l.line1) {
        s << QStringLiteral("side %1,%2 %3,%4")
                 .arg(line.p1.x())
                 .arg(line.p1.y())
                 .arg(line.p2.x())
                 .arg(line.p2.y());
    }
    for (const LineObject& line : l.line4) {
        s << QStringLiteral("line %1,%2 %3,%4 %5")
                 .arg(line.p1.x())
                 .arg(line.p1.y())
                 .arg(line.p2.x())
                 .arg(line.p2.y())
                 .arg(line.color, 0, 16);
    }
    for (int i = 0; i < 4; ++i) {
        s << QStringLiteral("letter %1 at %2,%3 caption %4")
                 .arg(i)
                 .arg(l.label2[i].topLeft.x())
                 .arg(l.label2[i].topLeft.y())
                 .arg(w.Label5(i)->text());
    }
    s << QStringLiteral("shape %1").arg(l.shape1.visible);
    for (const LineObject& line : l.line2) {
        s << QStringLiteral("grid row %1").arg(line.visible);
    }
    for (const LineObject& line : l.line3) {
        s << QStringLiteral("grid column %1").arg(line.visible);
    }
    for (int i = 0; i < 8; ++i) {
        s << QStringLiteral("option1 %1 %2")
                 .arg(w.Option1(i)->isChecked())
                 .arg(w.Option1(i)->isEnabled());
    }
    for (int i = 0; i < 4; ++i) {
        s << QStringLiteral("option2 %1 %2")
                 .arg(w.Option2(i)->isChecked())
                 .arg(w.Option2(i)->isEnabled());
    }
    for (int i = 0; i < 5; ++i) {
        s << QStringLiteral("check1 %1").arg(w.Check1(i)->isChecked());
    }
    for (QPushButton* b : {w.Command3(), w.Command4(), w.Command5()}) {
        s << QStringLiteral("%1 bold %2").arg(b->objectName()).arg(b->font().bold());
    }
    return s;
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpTestToolkit(); }
    void windowItself();
    void controlsMatchDesign();
    void captionsFitTheirBoxes();
    void fontsAreTheDesignFaces();
    void readoutLabelsEndBeforeTheDegreeSign();
    void stateAfterStartUp();
    void gridBuiltHidden();
    void figurePlacedByTheReset();
    void startUpRunsHandlersNested();
    void marksPaintedAtStartUp();
    void tabOrderFollowsTheDesign();
    void resetIsIdempotent();
    void resetRestoresEverything();
    void resetKeepsTheSelectionAndTheReadout();
    void readoutSwitchDecidesByItsFlag();
    void exitButtonAndCloseBoxCloseTheWindow();
};

void WindowTest::windowItself() {
    Form1 w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Orvanel (by m.Quillon)"));
    QCOMPARE(w.size(), QSize(917, 687));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(w.palette().color(QPalette::Window), QColor(192, 255, 192));
    QCOMPARE(w.board()->size(), QSize(802, 626));
    QCOMPARE(w.board()->mapTo(&w, QPoint(0, 0)), QPoint(10, 50));
}

void WindowTest::controlsMatchDesign() {
    Form1 w;
    w.show();
    for (const Expected& e : kControls) {
        const QString name = QString::fromLatin1(e.object);
        auto* widget = w.findChild<QWidget*>(name);
        QVERIFY2(widget, e.object);
        QCOMPARE(widget->metaObject()->className(), e.kind);
        QCOMPARE(textOf(widget), QString::fromUtf16(e.caption));
        if (e.geometry.width() > 0) {
            QCOMPARE(widget->geometry(), e.geometry);
        } else if (e.geometry.x() > 0) {
            QCOMPARE(widget->pos(), e.geometry.topLeft());
        } else {
            // A right-aligned read-out value keeps its right edge at 856 + 38.
            QCOMPARE(widget->geometry().right() + 1, 894);
            QCOMPARE(widget->y(), e.geometry.y());
        }
        QVERIFY2(widget->isVisibleTo(&w) == e.visible, e.object);
        QVERIFY2(widget->isEnabled() == e.enabled, e.object);
    }
}

void WindowTest::captionsFitTheirBoxes() {
    Form1 w;
    w.show();
    // The caption of a check box or option button is drawn in the contents
    // rectangle that the style leaves beside the indicator.
    for (QAbstractButton* b : w.findChildren<QAbstractButton*>()) {
        if (qobject_cast<QPushButton*>(b)) {
            continue;
        }
        QStyleOptionButton option;
        option.initFrom(b);
        option.text = b->text();
        const bool radio = qobject_cast<QRadioButton*>(b) != nullptr;
        const QRect contents = b->style()->subElementRect(
            radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, b);
        const QFontMetrics metrics(b->font());
        QVERIFY2(metrics.horizontalAdvance(b->text()) <= contents.width(),
                 qPrintable(b->objectName()));
        QVERIFY2(metrics.height() <= contents.height(), qPrintable(b->objectName()));
        QVERIFY2(contents.right() < b->width(), qPrintable(b->objectName()));
    }
    for (QPushButton* b : w.findChildren<QPushButton*>()) {
        QFont boldFont = b->font();
        boldFont.setBold(true);
        QVERIFY2(QFontMetrics(boldFont).horizontalAdvance(b->text()) + 8 <= b->width(),
                 qPrintable(b->objectName()));
    }
    for (QLabel* label : w.findChildren<QLabel*>()) {
        if (label->objectName().startsWith(u"Label6")) {
            continue; // the degree sign is meant to be clipped by its box
        }
        QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->objectName()));
        QVERIFY2(label->sizeHint().height() <= label->height(), qPrintable(label->objectName()));
    }
}

void WindowTest::fontsAreTheDesignFaces() {
    Form1 w;
    QCOMPARE(QFontInfo(w.Label1()->font()).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(QFontInfo(w.Label1()->font()).pixelSize(), 32);
    QVERIFY(w.Label1()->font().bold());
    QCOMPARE(QFontInfo(w.board()->letterFont()).family(), QStringLiteral("IPAPMincho"));
    QCOMPARE(QFontInfo(w.board()->letterFont()).pixelSize(), 29);
    QVERIFY(w.board()->letterFont().bold());
    QCOMPARE(QFontInfo(w.Label3(0)->font()).pixelSize(), 27);
    QCOMPARE(QFontInfo(w.Label5(0)->font()).pixelSize(), 37);
    QVERIFY(w.Label6(0)->font().bold());
    QCOMPARE(QFontInfo(w.Command1()->font()).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(QFontInfo(w.Command1()->font()).pixelSize(), 16);
    QCOMPARE(QFontInfo(w.Check2()->font()).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(w.Label3(3)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(w.Label3(0)->palette().color(QPalette::WindowText), QColor(64, 64, 64));
    QCOMPARE(w.Label1()->palette().color(QPalette::WindowText), QColor(0, 255, 0));
}

void WindowTest::readoutLabelsEndBeforeTheDegreeSign() {
    Form1 w;
    for (int i = 0; i < 4; ++i) {
        QVERIFY(w.Label5(i)->geometry().right() < w.Label6(i)->x());
    }
}

void WindowTest::stateAfterStartUp() {
    Form1 w;
    const WindowState& v = w.state();
    QCOMPARE(v.anglesShown, 0);
    QVERIFY(!w.Check2()->isChecked());
    QCOMPARE(v.penColorIndex, kPaletteRed);
    QCOMPARE(v.lineColorIndex, kPaletteWhite);
    QCOMPARE(v.memoOn, 0);
    QCOMPARE(v.lineMode, 0);
    QCOMPARE(v.nextLineNumber, 0);
    QCOMPARE(v.dragVertex, 0);
    QCOMPARE(v.gridShown, 0);
    QCOMPARE(w.surface().lineWidth(), 3);
    QVERIFY(!w.layer().shape1.visible);
    for (int i = 0; i < 8; ++i) {
        QVERIFY(!w.Option1(i)->isChecked());
    }
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(w.Option2(i)->isChecked(), i == 3);
    }
    for (QPushButton* b : w.findChildren<QPushButton*>()) {
        QVERIFY(!b->font().bold());
    }
    for (int i = 0; i < 5; ++i) {
        QVERIFY(!w.Check1(i)->isChecked());
        QCOMPARE(w.layer().line4[i].p1.x(), 1000.0);
        QCOMPARE(w.layer().line4[i].p2.x(), 1000.0);
        QCOMPARE(w.layer().line4[i].p1.y(), 480.0); // parked lines keep their y
    }
}

void WindowTest::gridBuiltHidden() {
    Form1 w;
    const BoardLayer& l = w.layer();
    QCOMPARE(l.line2.size(), std::size_t(26));
    QCOMPARE(l.line3.size(), std::size_t(33));
    for (std::size_t i = 0; i < l.line2.size(); ++i) {
        QCOMPARE(l.line2[i].p1, QPointF(0, 25.0 * i));
        QCOMPARE(l.line2[i].p2, QPointF(800, 25.0 * i));
        QVERIFY(!l.line2[i].visible);
        QCOMPARE(l.line2[i].width, 1);
    }
    for (std::size_t i = 0; i < l.line3.size(); ++i) {
        QCOMPARE(l.line3[i].p1, QPointF(25.0 * i, 0));
        QCOMPARE(l.line3[i].p2, QPointF(25.0 * i, 625));
        QVERIFY(!l.line3[i].visible);
    }
}

void WindowTest::figurePlacedByTheReset() {
    Form1 w;
    const BoardLayer& l = w.layer();
    const QPointF a(600, 150), b(100, 500), c(650, 500), d(550, 350);
    QCOMPARE(l.line1[0].p1, a);
    QCOMPARE(l.line1[0].p2, b);
    QCOMPARE(l.line1[1].p1, b);
    QCOMPARE(l.line1[1].p2, c);
    QCOMPARE(l.line1[2].p1, c);
    QCOMPARE(l.line1[2].p2, d);
    QCOMPARE(l.line1[3].p1, d);
    QCOMPARE(l.line1[3].p2, a);
    const QPoint letters[4] = {{590, 95}, {60, 520}, {665, 523}, {500, 330}};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(l.label2[i].topLeft, QPointF(letters[i]));
    }
    QCOMPARE(l.label2[0].caption, QStringLiteral("Ａ"));
    QCOMPARE(l.label2[3].caption, QStringLiteral("D"));
    // Each letter is an opaque green box with its caption in white.
    const QImage shown = renderBoard(w);
    const QRectF box = l.label2[0].bounds();
    QVERIFY(box.width() >= 20 && box.height() >= 29);
    int white = 0;
    for (int y = int(box.top()); y < int(box.bottom()); ++y) {
        for (int x = int(box.left()); x < int(box.right()); ++x) {
            const QRgb p = shown.pixel(x, y);
            QVERIFY(p == qRgb(0, 128, 0) || qGreen(p) >= 128);
            white += p == qRgb(255, 255, 255);
        }
    }
    QVERIFY(white > 20);
    QCOMPARE(w.Label5(0)->text(), QStringLiteral(" 41"));
    QCOMPARE(w.Label5(3)->text(), QStringLiteral(" 132"));
}

void WindowTest::startUpRunsHandlersNested() {
    QStringList calls;
    Form1 w([&calls](const QString& h) { calls << h; });
    // Selecting the thin red pen and then white runs both handlers inside
    // Form_Load, before the reset; the boxes were clear, so no Check1_Click.
    QCOMPARE(calls, (QStringList{"Form_Load", "Option1_Click(0)", "Option2_Click(3)",
                                 "InitialScreen", "MeasureAngles", "DrawFigure"}));
    calls.clear();
    w.Check1(2)->setChecked(true);
    w.Command1()->click();
    QCOMPARE(calls, (QStringList{"Check1_Click(2)", "Command1_Click", "InitialScreen",
                                 "Check1_Click(2)", "MeasureAngles", "DrawFigure"}));
}

void WindowTest::marksPaintedAtStartUp() {
    Form1 w;
    const RasterSurface& s = w.surface();
    QCOMPARE(s.pixel(594, 158), paletteColor(kPaletteYellow));
    QCOMPARE(s.pixel(128, 499), paletteColor(kPaletteYellow));
    QCOMPARE(s.pixel(622, 499), paletteColor(kPaletteYellow));
    QCOMPARE(s.pixel(560, 348), paletteColor(kPaletteRed));
    QCOMPARE(s.fillColor(), paletteColor(kPaletteRed));
    // The screen shows the surface under the sides: a side's pixel is white.
    const QImage shown = renderBoard(w);
    QCOMPARE(shown.pixel(560, 348), paletteColor(kPaletteRed));
    QCOMPARE(shown.pixel(375, 500), paletteColor(kPaletteWhite));
    QCOMPARE(shown.pixel(375, 400), paletteColor(kPaletteGreen));
}

void WindowTest::tabOrderFollowsTheDesign() {
    Form1 w;
    const QStringList expected{"gamen",     "Command1",  "Command2",  "Command3",  "Option1_0",
                               "Option1_1", "Option1_2", "Option1_3", "Option1_4", "Option1_5",
                               "Option1_6", "Option1_7", "Command4",  "Command5",  "Check1_0",
                               "Check1_1",  "Check1_2",  "Check1_3",  "Check1_4",  "Option2_0",
                               "Option2_1", "Option2_2", "Option2_3", "Check2",    "Check3"};
    QStringList chain;
    QWidget* widget = w.gamen();
    for (int i = 0; i < expected.size(); ++i) {
        chain << widget->objectName();
        do {
            widget = widget->nextInFocusChain();
        } while (widget->focusPolicy() == Qt::NoFocus);
    }
    QCOMPARE(chain, expected);
}

void WindowTest::resetIsIdempotent() {
    Form1 w;
    const QStringList first = snapshot(w);
    const QImage image = w.surface().image().copy();
    w.InitialScreen();
    QCOMPARE(snapshot(w), first);
    QVERIFY(w.surface().image() == image);
    w.Command1()->click();
    QCOMPARE(snapshot(w), first);
    QVERIFY(w.surface().image() == image);
}

void WindowTest::resetRestoresEverything() {
    Form1 w;
    const QStringList initial = snapshot(w);
    const QImage image = w.surface().image().copy();
    Pointer pointer(w);
    pointer.drag({600, 150}, {640.5, 120.25}); // A
    pointer.drag({550, 350}, {500, 380});      // D
    w.Command4()->click();                     // grid on
    w.Command5()->click();                     // line tool on
    pointer.drag({10, 10}, {300, 300});        // line 1, white
    w.Command3()->click();                     // memo on, thin red
    w.Option1(7)->click();                     // bold eraser
    pointer.drag({100, 100}, {200, 200});
    QVERIFY(snapshot(w) != initial);
    w.Command1()->click();

    // Everything is back but what the reset leaves alone: the selected pen
    // and its colour, and the y ends and colour of the parked line 1.
    QStringList expected = initial;
    const auto replace = [&expected](const QString& from, const QString& to) {
        const qsizetype i = expected.indexOf(from);
        QVERIFY2(i >= 0, qPrintable(from));
        expected[i] = to;
    };
    replace("vars 0 0 0 0 0 0 12 15 3", "vars 0 0 0 0 0 0 2 15 3");
    replace("line 1000,480 1000,552 ffff0000", "line 1000,10 1000,300 ffffffff");
    expected[expected.lastIndexOf("option1 0 0")] = "option1 1 0"; // Option1(7)
    replace("option2 1 0", "option2 0 0");
    QCOMPARE(snapshot(w), expected);
    QVERIFY(w.surface().image() == image);
}

void WindowTest::resetKeepsTheSelectionAndTheReadout() {
    Form1 w;
    w.Check2()->click();
    QCOMPARE(w.state().anglesShown, 1);
    Pointer(w).drag({600, 150}, {500, 200});
    QVERIFY(w.Label5(0)->text() != QStringLiteral(" 41"));
    w.Check3()->click();
    w.Command1()->click();
    QCOMPARE(w.state().anglesShown, 1);
    QVERIFY(w.Label5(0)->isVisibleTo(&w));
    QCOMPARE(w.Label5(0)->text(), QStringLiteral(" 41"));
    QVERIFY(w.Check3()->isChecked());
    QVERIFY(w.Option2(3)->isChecked());
}

void WindowTest::readoutSwitchDecidesByItsFlag() {
    Form1 w;
    QStringList calls;
    w.Check2()->click();
    for (int i = 0; i < 4; ++i) {
        QVERIFY(w.Label3(i)->isVisibleTo(&w));
        QVERIFY(w.Label5(i)->isVisibleTo(&w));
        QVERIFY(w.Label6(i)->isVisibleTo(&w));
    }
    QCOMPARE(w.Label5(1)->text(), QStringLiteral(" 35"));
    w.Check2()->click();
    for (int i = 0; i < 4; ++i) {
        QVERIFY(!w.Label5(i)->isVisibleTo(&w));
    }
    QCOMPARE(w.Label5(1)->text(), QStringLiteral(" 35")); // not cleared when hidden
    // The handler alternates on its flag, not on the tick.
    w.Check2_Click();
    QCOMPARE(w.state().anglesShown, 1);
    QVERIFY(!w.Check2()->isChecked());
    QVERIFY(w.Label5(0)->isVisibleTo(&w));
}

void WindowTest::exitButtonAndCloseBoxCloseTheWindow() {
    {
        Form1 w;
        w.show();
        QVERIFY(w.isVisible());
        w.Command3()->click(); // a tool on does not matter
        w.Command2()->click();
        QVERIFY(!w.isVisible());
    }
    {
        Form1 w;
        w.show();
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
    }
}

QTEST_MAIN(WindowTest)
#include "test_window.moc"
