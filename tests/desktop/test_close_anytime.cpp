// SPDX-License-Identifier: MIT
// Closing the window ends the program cleanly at any moment: during a drag,
// a stroke or a line being stretched, by the close box or by 終了.
#include "window_fixture.h"

#include <QTest>
#include <QTimer>

using namespace orvanel;
using namespace orvanel::test;

class CloseAnytimeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpTestToolkit(); }
    void closeMidGesture_data();
    void closeMidGesture();
};

void CloseAnytimeTest::closeMidGesture_data() {
    QTest::addColumn<int>("tool"); // 0 figure, 3 memo pen, 5 straight line
    QTest::addColumn<bool>("byExitButton");
    for (const bool exit : {false, true}) {
        const char* how = exit ? "終了" : "close box";
        QTest::addRow("during a drag, %s", how) << 0 << exit;
        QTest::addRow("during a stroke, %s", how) << 3 << exit;
        QTest::addRow("while stretching a line, %s", how) << 5 << exit;
    }
}

void CloseAnytimeTest::closeMidGesture() {
    QFETCH(int, tool);
    QFETCH(bool, byExitButton);
    auto w = std::make_unique<Form1>();
    w->show();
    if (tool == 3) {
        w->Command3()->click();
    } else if (tool == 5) {
        w->Command5()->click();
    }
    Pointer pointer(*w);
    pointer.press({600, 150});
    pointer.move({620, 170});
    // The close arrives through the event loop, as a user's would.
    QTimer::singleShot(0, w.get(), [&] {
        if (byExitButton) {
            w->Command2()->click();
        } else {
            w->close();
        }
    });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!w->isVisible());
    w.reset();
}

QTEST_MAIN(CloseAnytimeTest)
#include "test_close_anytime.moc"
