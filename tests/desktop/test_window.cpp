// SPDX-License-Identifier: MIT
// The window on the desktop: every control of the design as a widget, the
// fonts and the tab order, exit, and the widgets and the board following the
// window model as the user clicks, drags and touches.
#include "window_fixture.h"

#include <QElapsedTimer>
#include <QFontInfo>
#include <QPointingDevice>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QTest>

using namespace orvanel;
using namespace orvanel::test;
using namespace orvanel::controls;

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
const Expected kExpected[] = {
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

// The first control whose widget does not show its state in the model, or an
// empty string when every widget does.
QString mismatch(const DesktopWindow& w) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlState& s = w.model().control(ControlId(i));
        QWidget* widget = w.widget(ControlId(i));
        const QString name = widget->objectName();
        if (textOf(widget) != QString::fromStdString(s.caption)) {
            return name + QStringLiteral(" caption");
        }
        if (windowGeometry(widget) != QRect(s.box.left, s.box.top, s.box.width, s.box.height)) {
            return name + QStringLiteral(" geometry");
        }
        if (widget->isEnabled() != s.enabled || widget->isVisibleTo(&w) != s.visible) {
            return name + QStringLiteral(" enabled or visible");
        }
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (button && button->isCheckable() && button->isChecked() != s.checked) {
            return name + QStringLiteral(" checked");
        }
        if (qobject_cast<QPushButton*>(widget) && widget->font().bold() != s.bold) {
            return name + QStringLiteral(" bold");
        }
    }
    return {};
}

#define VERIFY_WIDGETS_SHOW_THE_MODEL(w)                                                           \
    do {                                                                                           \
        const QString what = mismatch(w);                                                          \
        QVERIFY2(what.isEmpty(), qPrintable(what));                                                \
    } while (false)

// A user's click with the mouse on the middle of a control.
void clickOn(DesktopWindow& w, ControlId id) {
    QTest::mouseClick(w.widget(id), Qt::LeftButton, Qt::NoModifier, w.widget(id)->rect().center());
}

bool bold(const DesktopWindow& w, ControlId id) {
    return w.widget(id)->font().bold();
}

// The board as the window system holds it for the screen: what the window
// has actually painted, not a fresh rendering of the model.
QImage boardOnScreen(const DesktopWindow& w) {
    const QPoint at = w.board()->mapTo(&w, QPoint(0, 0));
    return w.screen()
        ->grabWindow(w.winId(), at.x(), at.y(), w.board()->width(), w.board()->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QPointingDevice* touchScreen() {
    static QPointingDevice* device = QTest::createTouchDevice();
    return device;
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
    void lettersAreOpaqueGreenBoxesWithWhiteCaptions();
    void tabOrderFollowsTheDesign();
    void exitButtonAndCloseBoxCloseTheWindow();

    // The widgets follow the model.
    void memoButtonBoldsItsCaptionAndEnablesThePens();
    void selectingAColourClearsThePen();
    void finishedLineTicksItsBox();
    void readoutLabelsFollowTheAngleBox();

    // The board on the screen.
    void oneFingerDragsLikeTheLeftButton();
    void boardCatchesUpAfterABurstOfMoves();
};

void WindowTest::windowItself() {
    DesktopWindow w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Orvanel (by m.Quillon)"));
    QCOMPARE(w.size(), QSize(917, 687));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(w.palette().color(QPalette::Window), QColor(192, 255, 192));
    QCOMPARE(w.board()->size(), QSize(802, 626));
    QCOMPARE(w.board()->mapTo(&w, QPoint(0, 0)), QPoint(10, 50));
}

void WindowTest::controlsMatchDesign() {
    DesktopWindow w;
    w.show();
    for (const Expected& e : kExpected) {
        const QString name = QString::fromLatin1(e.object);
        auto* widget = w.findChild<QWidget*>(name);
        QVERIFY2(widget, e.object);
        QCOMPARE(widget->metaObject()->className(), e.kind);
        QCOMPARE(textOf(widget), QString::fromUtf16(e.caption));
        if (e.geometry.width() > 0) {
            QCOMPARE(windowGeometry(widget), e.geometry);
        } else if (e.geometry.x() > 0) {
            QCOMPARE(windowGeometry(widget).topLeft(), e.geometry.topLeft());
        } else {
            // A right-aligned read-out value keeps its right edge at 856 + 38.
            QCOMPARE(widget->geometry().right() + 1, 894);
            QCOMPARE(widget->y(), e.geometry.y());
        }
        QVERIFY2(widget->isVisibleTo(&w) == e.visible, e.object);
        QVERIFY2(widget->isEnabled() == e.enabled, e.object);
    }
    VERIFY_WIDGETS_SHOW_THE_MODEL(w);
}

void WindowTest::captionsFitTheirBoxes() {
    DesktopWindow w;
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
    DesktopWindow w;
    QCOMPARE(QFontInfo(w.label(Label1)->font()).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(QFontInfo(w.label(Label1)->font()).pixelSize(), 32);
    QVERIFY(w.label(Label1)->font().bold());
    QCOMPARE(QFontInfo(w.board()->letterFont()).family(), QStringLiteral("IPAPMincho"));
    QCOMPARE(QFontInfo(w.board()->letterFont()).pixelSize(), 29);
    QVERIFY(w.board()->letterFont().bold());
    QCOMPARE(QFontInfo(w.label(Label3[0])->font()).pixelSize(), 27);
    QCOMPARE(QFontInfo(w.label(Label5[0])->font()).pixelSize(), 37);
    QVERIFY(w.label(Label6[0])->font().bold());
    QCOMPARE(QFontInfo(w.button(Command1)->font()).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(QFontInfo(w.button(Command1)->font()).pixelSize(), 16);
    QCOMPARE(QFontInfo(w.button(Check2)->font()).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(w.label(Label3[3])->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(w.label(Label3[0])->palette().color(QPalette::WindowText), QColor(64, 64, 64));
    QCOMPARE(w.label(Label1)->palette().color(QPalette::WindowText), QColor(0, 255, 0));
}

void WindowTest::readoutLabelsEndBeforeTheDegreeSign() {
    DesktopWindow w;
    for (int i = 0; i < kVertexCount; ++i) {
        QVERIFY(w.label(Label5[i])->geometry().right() < w.label(Label6[i])->x());
    }
}

void WindowTest::lettersAreOpaqueGreenBoxesWithWhiteCaptions() {
    DesktopWindow w;
    const QImage shown = renderBoard(w);
    const QRect box = w.board()->letterBox(0);
    QCOMPARE(box.topLeft(), QPoint(590, 95));
    QVERIFY(box.width() >= 20 && box.height() >= 29);
    int white = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb p = shown.pixel(x, y);
            QVERIFY(p == qRgb(0, 128, 0) || qGreen(p) >= 128);
            white += p == qRgb(255, 255, 255);
        }
    }
    QVERIFY(white > 20);
}

void WindowTest::tabOrderFollowsTheDesign() {
    DesktopWindow w;
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

void WindowTest::exitButtonAndCloseBoxCloseTheWindow() {
    {
        DesktopWindow w;
        w.show();
        QVERIFY(w.isVisible());
        w.button(Command3)->click(); // a tool on does not matter
        w.button(Command2)->click();
        QVERIFY(w.model().ended());
        QVERIFY(!w.isVisible());
    }
    {
        DesktopWindow w;
        w.show();
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
    }
}

void WindowTest::memoButtonBoldsItsCaptionAndEnablesThePens() {
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickOn(w, Command3);
    QCOMPARE(w.model().state().memoOn, 1);
    QVERIFY(bold(w, Command3));
    for (const ControlId pen : Option1) {
        QVERIFY(w.widget(pen)->isEnabled());
    }
    QVERIFY(w.button(Option1[0])->isChecked());
    VERIFY_WIDGETS_SHOW_THE_MODEL(w);
    clickOn(w, Command1); // the reset switches the pen off again
    QVERIFY(!bold(w, Command3));
    QVERIFY(!w.widget(Option1[0])->isEnabled());
    VERIFY_WIDGETS_SHOW_THE_MODEL(w);
}

void WindowTest::selectingAColourClearsThePen() {
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickOn(w, Command3);
    clickOn(w, Option1[5]);
    QCOMPARE(w.model().state().penColorIndex, kPaletteYellow);
    QVERIFY(w.button(Option1[5])->isChecked());
    clickOn(w, Command5); // the line tool selects white
    QVERIFY(w.button(Option2[3])->isChecked());
    QVERIFY(!w.button(Option1[5])->isChecked());
    VERIFY_WIDGETS_SHOW_THE_MODEL(w);
    clickOn(w, Option2[1]);
    QCOMPARE(w.model().state().lineColorIndex, kPaletteYellow);
    QVERIFY(w.button(Option2[1])->isChecked());
    QVERIFY(!w.button(Option2[3])->isChecked());
    clickOn(w, Command3); // and the pen clears the colour
    QVERIFY(w.button(Option1[0])->isChecked());
    QVERIFY(!w.button(Option2[1])->isChecked());
    VERIFY_WIDGETS_SHOW_THE_MODEL(w);
}

void WindowTest::finishedLineTicksItsBox() {
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickOn(w, Command5);
    QVERIFY(bold(w, Command5));
    Pointer(w).drag({10, 10}, {200, 10});
    QVERIFY(w.button(Check1[0])->isChecked());
    VERIFY_WIDGETS_SHOW_THE_MODEL(w);
    clickOn(w, Check1[0]); // unticked by hand: the line goes
    QVERIFY(!w.button(Check1[0])->isChecked());
    QCOMPARE(w.model().layer().line(LineRow::Line4, 0).p1.x, kParkedX);
    VERIFY_WIDGETS_SHOW_THE_MODEL(w);
}

void WindowTest::readoutLabelsFollowTheAngleBox() {
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickOn(w, Check2);
    for (int i = 0; i < kVertexCount; ++i) {
        QVERIFY(w.label(Label3[i])->isVisible());
        QVERIFY(w.label(Label5[i])->isVisible());
        QVERIFY(w.label(Label6[i])->isVisible());
    }
    QCOMPARE(w.label(Label5[0])->text(), QStringLiteral(" 41"));
    Pointer(w).drag({600, 150}, {500, 200});
    QCOMPARE(w.label(Label5[0])->text(),
             QString::fromStdString(w.model().control(Label5[0]).caption));
    QVERIFY(w.label(Label5[0])->text() != QStringLiteral(" 41"));
    VERIFY_WIDGETS_SHOW_THE_MODEL(w);
    clickOn(w, Check2);
    for (int i = 0; i < kVertexCount; ++i) {
        QVERIFY(!w.label(Label5[i])->isVisible());
    }
    VERIFY_WIDGETS_SHOW_THE_MODEL(w);
}

void WindowTest::oneFingerDragsLikeTheLeftButton() {
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    BoardCanvas* board = w.board();
    const auto finger = [&] { return QTest::touchEvent(board, touchScreen()); };
    const Form1& m = w.model();
    finger().press(0, {550, 350}, board);
    finger().move(0, {580, 330}, board);
    QCOMPARE(m.state().figure.d(), (PointF{580, 330}));
    QCOMPARE(m.layer().letter(3).topLeft, (PointF{530, 310}));
    QCOMPARE(board->letterBox(3).topLeft(), QPoint(530, 310));
    // A second finger, on A, while the first is down: ignored.
    finger().stationary(0).press(1, {600, 150}, board);
    finger().stationary(0).move(1, {650, 100}, board);
    QCOMPARE(m.state().figure.a(), (PointF{600, 150}));
    QCOMPARE(m.state().figure.d(), (PointF{580, 330}));
    finger().move(0, {590, 340}, board).release(1, {650, 100}, board);
    QCOMPARE(m.state().figure.d(), (PointF{590, 340}));
    finger().release(0, {590, 340}, board);
    QCOMPARE(m.state().dragVertex, kNoVertex);
    QCOMPARE(m.state().figure.a(), (PointF{600, 150}));
}

void WindowTest::boardCatchesUpAfterABurstOfMoves() {
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_VERIFY(boardOnScreen(w) == renderBoard(w));
    QTest::qWait(2 * FramePacer::kFrameMillis); // the first move is shown at once
    Pointer pointer(w);
    pointer.press({550, 350});
    QElapsedTimer burst;
    burst.start();
    for (int i = 1; i <= 20; ++i) {
        pointer.move({550.0 - 10 * i, 350.0 + 5 * i});
    }
    const bool withinAFrame = burst.elapsed() < FramePacer::kFrameMillis;
    // Paints what was asked for at once; the frame timer has not fired.
    QCoreApplication::sendPostedEvents();
    if (withinAFrame) {
        QVERIFY2(boardOnScreen(w) != renderBoard(w), "the last moves wait for the next frame");
    }
    QTRY_VERIFY_WITH_TIMEOUT(boardOnScreen(w) == renderBoard(w), 2000);
    pointer.release({350, 450});
}

QTEST_MAIN(WindowTest)
#include "test_window.moc"
