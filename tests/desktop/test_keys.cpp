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

QTEST_MAIN(KeysTest)
#include "test_keys.moc"
