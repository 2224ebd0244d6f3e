// SPDX-License-Identifier: MIT
// The desktop window from the keyboard: the board's keys do what the mouse
// does, Ctrl+Z takes an action back, Ctrl+S saves the window as a picture.
#include "window_fixture.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanel;
using namespace orvanel::test;

class KeysTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpTestToolkit(); }
    void keyboardDragEqualsMouseDrag();
    void ctrlZTakesARightClickBack();
    void ctrlSSavesTheWindow();
    void keyboardFocusIsRingedOnEveryPart();
    void heldSpaceKeepsTheButton();
    void ctrlZShowsTheControlsAgain();
    void boardLosingTheFocusLetsGo_data();
    void boardLosingTheFocusLetsGo();
};

namespace {

void keys(QWidget* board, std::initializer_list<Qt::Key> list,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    for (const Qt::Key key : list) {
        QTest::keyClick(board, key, modifiers);
    }
}

} // namespace

// "D, Space, Shift+Right x 6, Space" drags D 60 pixels right; then a right
// click from the context-menu key: the same pixels and read-out as by mouse.
void KeysTest::keyboardDragEqualsMouseDrag() {
    DesktopWindow byKeys;
    DesktopWindow byMouse;
    byKeys.show();
    byMouse.show();
    byKeys.gamen()->setFocus(Qt::TabFocusReason);
    byKeys.button(controls::Check3)->click(); // nonClear: the drag's traces stay
    byMouse.button(controls::Check3)->click();
    keys(byKeys.gamen(), {Qt::Key_D, Qt::Key_Space});
    keys(byKeys.gamen(),
         {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right},
         Qt::ShiftModifier);
    keys(byKeys.gamen(), {Qt::Key_Space});
    Pointer pointer(byMouse);
    pointer.press({550, 350});
    for (int i = 1; i <= 6; ++i) {
        pointer.move({550.0 + 10 * i, 350});
    }
    pointer.release({610, 350});
    QCOMPARE(byKeys.model().control(controls::Label5[3]).caption, std::string(" 168"));
    QVERIFY(byKeys.model().surface().pixels() == byMouse.model().surface().pixels());

    keys(byKeys.gamen(), {Qt::Key_Menu});
    pointer.press({610, 350}, Qt::RightButton);
    pointer.release({610, 350}, Qt::RightButton);
    QVERIFY(byKeys.model().surface().pixels() == byMouse.model().surface().pixels());
    // The crosshair shows the keyboard pointer where D now is, above the board.
    QVERIFY(byKeys.session().crosshairShown());
    QCOMPARE(renderBoard(byKeys).pixelColor(610, 350), QColor(Qt::white));
}

void KeysTest::ctrlZTakesARightClickBack() {
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.button(controls::Command3)->click();
    Pointer(w).drag({100, 100}, {200, 150}); // a stroke of the thin red pen
    const PixelBuffer stroke = w.model().surface().pixels();
    Pointer(w).drag({300, 300}, {300, 300}, Qt::RightButton); // wipes it
    QVERIFY(!(w.model().surface().pixels() == stroke));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(w.model().surface().pixels() == stroke);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!(w.model().surface().pixels() == stroke));
}

void KeysTest::ctrlSSavesTheWindow() {
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTemporaryDir dir;
    QString suggested;
    w.setSaveDialog([&](QWidget*, const QString& name) {
        suggested = name;
        return dir.filePath(QStringLiteral("window.png"));
    });
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    QVERIFY2(QFileInfo(suggested).fileName().contains(
                 QRegularExpression(QStringLiteral("^orvanel-\\d{8}-\\d{6}\\.png$"))),
             qPrintable(suggested));
    const QImage saved(dir.filePath(QStringLiteral("window.png")));
    QCOMPARE(saved.size(), QSize(917, 687));
    // The board's green where the board is, the window's light green beside it.
    QCOMPARE(saved.pixelColor(20, 600), QColor(0, 128, 0));
    QCOMPARE(saved.pixelColor(870, 600), QColor(192, 255, 192));
}

// A focus ring in the focus colour on the board, a button and a box, once
// the keyboard has brought the focus there.
void KeysTest::keyboardFocusIsRingedOnEveryPart() {
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const auto ringed = [&](QWidget* part) {
        part->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        const QImage shown = w.grab().toImage();
        const QRect box(part->mapTo(&w, QPoint(0, 0)), part->size());
        int count = 0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                count += shown.pixelColor(x, y) == kFocusColor;
            }
        }
        return count;
    };
    QVERIFY(ringed(w.gamen()) >= 2 * (806 + 630));
    QVERIFY(ringed(w.widget(controls::Command1)) > 100);
    QVERIFY(ringed(w.widget(controls::Check2)) > 40);
}

// A held Space repeats its press: the repeats keep the button held, a new
// press lets it go.
void KeysTest::heldSpaceKeepsTheButton() {
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.gamen()->setFocus(Qt::TabFocusReason);
    keys(w.gamen(), {Qt::Key_D, Qt::Key_Space});
    QVERIFY(w.session().gestureInProgress());
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(w.gamen(), &repeat);
    QVERIFY(w.session().gestureInProgress());
    keys(w.gamen(), {Qt::Key_Space});
    QVERIFY(!w.session().gestureInProgress());
}

// Ctrl+Z after a click on "angle": the box is unticked and the read-out
// hidden again, as the model has them.
void KeysTest::ctrlZShowsTheControlsAgain() {
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const auto readoutShown = [&] {
        return w.widget(controls::Label3[0])->isVisible() &&
               w.widget(controls::Label5[3])->isVisible();
    };
    QTest::mouseClick(w.button(controls::Check2), Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
    QVERIFY(w.button(controls::Check2)->isChecked());
    QVERIFY(readoutShown());
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!w.model().control(controls::Check2).checked);
    QVERIFY(!w.button(controls::Check2)->isChecked());
    QVERIFY(!w.widget(controls::Label3[0])->isVisible());
    QVERIFY(!w.widget(controls::Label5[3])->isVisible());
}

// The board losing the focus in the middle of "D, Space, Shift+Right" lets
// the button go there: D stays 10 pixels to the right, nothing is held.
void KeysTest::boardLosingTheFocusLetsGo_data() {
    QTest::addColumn<bool>("deactivated");
    QTest::newRow("focus on a button") << false;
    QTest::newRow("window deactivated") << true;
}

void KeysTest::boardLosingTheFocusLetsGo() {
    QFETCH(bool, deactivated);
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.gamen()->setFocus(Qt::TabFocusReason);
    const double xD = w.model().state().figure.xD;
    keys(w.gamen(), {Qt::Key_D, Qt::Key_Space});
    keys(w.gamen(), {Qt::Key_Right}, Qt::ShiftModifier);
    QVERIFY(w.session().gestureInProgress());
    QWidget other;
    if (deactivated) {
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    } else {
        w.widget(controls::Command1)->setFocus(Qt::OtherFocusReason);
    }
    QVERIFY(!w.gamen()->hasFocus());
    QVERIFY(!w.session().gestureInProgress());
    QCOMPARE(w.model().state().figure.xD, xD + 10);
}

QTEST_MAIN(KeysTest)
#include "test_keys.moc"
