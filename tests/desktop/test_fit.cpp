// SPDX-License-Identifier: MIT
// `orvanel --fit` on a 1920 x 1080 whiteboard (an offscreen screen of that
// size): the window fills most of it and, with its frame, fits.
#include "window_fixture.h"

#include "window/fit.h"

#include <QScreen>
#include <QTest>

using namespace orvanel;

class FitTest : public QObject {
    Q_OBJECT

private slots:
    void fillsAWhiteboard() {
        const QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(screen->availableGeometry().size(), QSize(1920, 1080));
        const double factor = fitFactor(*screen);
        QVERIFY2(factor >= 1.5, qPrintable(QString::number(factor)));
        QVERIFY(kWindowSize.height * factor <= 1080 - 40);
        QVERIFY(kWindowSize.width * factor <= 1920);
        // Never so small that the captions cannot be read.
        QCOMPARE(orvanel::fitFactor(300, 200, kWindowSize), kMinFitFactor);
    }
};

QTEST_MAIN(FitTest)
#include "test_fit.moc"
