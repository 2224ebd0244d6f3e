// SPDX-License-Identifier: MIT
// Measuring the four angles: directions with the 3.14 constant, the rounding
// of the shown values and the captions.
#include "figure/angles.h"

#include <QTest>

using namespace orvanel;

namespace {

FigureState figureWith(QPointF a, QPointF d) {
    FigureState f;
    f.xA = a.x();
    f.yA = a.y();
    f.xD = d.x();
    f.yD = static_cast<float>(d.y());
    return f;
}

using Shown = std::array<int, 4>;

} // namespace

Q_DECLARE_METATYPE(Shown)

class AnglesTest : public QObject {
    Q_OBJECT

private slots:
    void readout_data();
    void readout();
    void startingFigureDirections();
    void directionCases_data();
    void directionCases();
    void roundingHalves_data();
    void roundingHalves();
    void coincidentPointsKeepDirections();
    void captions_data();
    void captions();
    void captionValues_data();
    void captionValues();
};

void AnglesTest::readout_data() {
    QTest::addColumn<QPointF>("a");
    QTest::addColumn<QPointF>("d");
    QTest::addColumn<Shown>("shown");
    QTest::newRow("starting figure")
        << QPointF(600, 150) << QPointF(550, 350) << Shown{41, 35, 56, 132};
    QTest::newRow("A straight above D")
        << QPointF(400, 200) << QPointF(400, 400) << Shown{45, 45, 22, 112};
    QTest::newRow("D out of the triangle, convex")
        << QPointF(600, 150) << QPointF(700, 300) << Shown{89, 35, 104, 228};
    QTest::newRow("A and D on the base line")
        << QPointF(300, 500) << QPointF(200, 500) << Shown{0, 0, 0, 360};
    QTest::newRow("D on side AB: 0 at A")
        << QPointF(600, 150) << QPointF(350, 325) << Shown{0, 35, 30, 65};
    QTest::newRow("A straight above B: 90 at B")
        << QPointF(100, 200) << QPointF(550, 350) << Shown{72, 90, 56, 218};
    QTest::newRow("D straight above C: 90 at C")
        << QPointF(600, 150) << QPointF(650, 300) << Shown{73, 35, 90, 198};
    QTest::newRow("A below the base line")
        << QPointF(400, 600) << QPointF(550, 350) << Shown{258, 342, 56, 295};
}

void AnglesTest::readout() {
    QFETCH(QPointF, a);
    QFETCH(QPointF, d);
    QFETCH(Shown, shown);
    // Away from the worked examples the values come from the formulas worked
    // by hand; each row's A + B + C equals D modulo 360, up to rounding.
    Directions dirs;
    QCOMPARE(measureAngles(figureWith(a, d), dirs), shown);
}

void AnglesTest::startingFigureDirections() {
    Directions dirs;
    measureAngles(FigureState{}, dirs);
    QVERIFY(std::abs(dirs.dirAB - 215.01) < 0.01);
    QVERIFY(std::abs(dirs.dirAD - 256.00) < 0.01);
    QVERIFY(std::abs(dirs.dirBA - 35.01) < 0.01);
    QVERIFY(std::abs(dirs.dirCDFromLeft - 56.34) < 0.01);
    QVERIFY(std::abs(dirs.dirDA - 76.00) < 0.01);
    QVERIFY(std::abs(dirs.dirDC - 303.66f) < 0.01f);
}

void AnglesTest::directionCases_data() {
    QTest::addColumn<QPointF>("q"); // from P = (0, 0)
    QTest::addColumn<double>("standard");
    QTest::addColumn<double>("fromLeft");
    QTest::newRow("right") << QPointF(10, 0) << 0.0 << 180.0;
    QTest::newRow("up") << QPointF(0, -10) << 90.0 << 90.0;
    QTest::newRow("left") << QPointF(-10, 0) << 180.0 << 0.0;
    QTest::newRow("down") << QPointF(0, 10) << 270.0 << 270.0;
    // The arctangent part comes out pi/3.14 times its true size.
    QTest::newRow("up-right 45 reads 45.0228") << QPointF(10, -10) << 45.0228 << 134.9772;
    QTest::newRow("up-left 135 reads 134.9772") << QPointF(-10, -10) << 134.9772 << 45.0228;
    QTest::newRow("down-left") << QPointF(-10, 10) << 225.0228 << 314.9772;
    QTest::newRow("down-right") << QPointF(10, 10) << 314.9772 << 225.0228;
    QTest::newRow("just right of up: beyond 90") << QPointF(1e-6, -10) << 90.0456 << 89.9544;
}

void AnglesTest::directionCases() {
    QFETCH(QPointF, q);
    QFETCH(double, standard);
    QFETCH(double, fromLeft);
    const auto s = rayDirection(QPointF(0, 0), q);
    const auto l = rayDirectionFromLeft(QPointF(0, 0), q);
    QVERIFY(s && l);
    QVERIFY2(std::abs(*s - standard) < 1e-4, qPrintable(QString::number(*s, 'f', 6)));
    QVERIFY2(std::abs(*l - fromLeft) < 1e-4, qPrintable(QString::number(*l, 'f', 6)));
    QVERIFY(!rayDirection(q, q));
    QVERIFY(!rayDirectionFromLeft(q, q));
}

void AnglesTest::roundingHalves_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("shown");
    QTest::newRow("44.5 shows 45") << 44.5 << 45;
    QTest::newRow("44.49 shows 44") << 44.49 << 44;
    QTest::newRow("359.7 shows 360") << 359.7 << 360;
    QTest::newRow("0 shows 0") << 0.0 << 0;
}

void AnglesTest::roundingHalves() {
    QFETCH(double, value);
    QFETCH(int, shown);
    QCOMPARE(shownAngleAtB(value), shown);
    QCOMPARE(shownAngleAtC(value), shown);
    QCOMPARE(shownAngleAtA(100, 100 + value), shown);
    QCOMPARE(shownAngleAtA(100 + 360 - value, 100), value == 0 ? 0 : shown);
    QCOMPARE(shownAngleAtD(100 + value, 100.0f), value == 0 ? 360 : shown);
    // A negative difference wraps round: -315.5 is 44.5.
    QCOMPARE(shownAngleAtA(315.5, 0), 45);
    QCOMPARE(shownAngleAtD(0, 315.5f), 45);
}

void AnglesTest::coincidentPointsKeepDirections() {
    Directions dirs;
    measureAngles(FigureState{}, dirs);
    const Directions before = dirs;
    // A dragged exactly onto B: the directions between them keep their values.
    FigureState onB = figureWith(QPointF(100, 500), QPointF(550, 350));
    const Shown shown = measureAngles(onB, dirs);
    QCOMPARE(dirs.dirAB, before.dirAB);
    QCOMPARE(dirs.dirBA, before.dirBA);
    QCOMPARE(shown[1], 35);
    // D dragged onto C keeps dirCDFromLeft and dirDC.
    Directions dirs2;
    measureAngles(FigureState{}, dirs2);
    const Directions before2 = dirs2;
    measureAngles(figureWith(QPointF(600, 150), QPointF(650, 500)), dirs2);
    QCOMPARE(dirs2.dirCDFromLeft, before2.dirCDFromLeft);
    QCOMPARE(dirs2.dirDC, before2.dirDC);
    // D onto A keeps dirAD and dirDA.
    Directions dirs3;
    measureAngles(FigureState{}, dirs3);
    const Directions before3 = dirs3;
    measureAngles(figureWith(QPointF(600, 150), QPointF(600, 150)), dirs3);
    QCOMPARE(dirs3.dirAD, before3.dirAD);
    QCOMPARE(dirs3.dirDA, before3.dirDA);
}

void AnglesTest::captions_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("caption");
    QTest::newRow("two digits") << 41 << QStringLiteral(" 41");
    QTest::newRow("zero") << 0 << QStringLiteral(" 0");
    QTest::newRow("three digits") << 360 << QStringLiteral(" 360");
}

void AnglesTest::captions() {
    QFETCH(int, value);
    QFETCH(QString, caption);
    QCOMPARE(angleCaption(value), caption);
    QCOMPARE(captionValue(caption), double(value));
}

void AnglesTest::captionValues_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("value");
    QTest::newRow("design text") << QStringLiteral("33") << 33.0;
    QTest::newRow("blanks anywhere") << QStringLiteral(" 1 2") << 12.0;
    QTest::newRow("no number") << QStringLiteral("abc") << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("number then text") << QStringLiteral(" 7°") << 7.0;
    QTest::newRow("fraction") << QStringLiteral("1.5") << 1.5;
    QTest::newRow("lone point") << QStringLiteral(".") << 0.0;
    QTest::newRow("sign") << QStringLiteral("-2") << -2.0;
}

void AnglesTest::captionValues() {
    QFETCH(QString, caption);
    QFETCH(double, value);
    QCOMPARE(captionValue(caption), value);
}

QTEST_GUILESS_MAIN(AnglesTest)
#include "test_angles.moc"
