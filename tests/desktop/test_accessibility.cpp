// SPDX-License-Identifier: MIT
// What assistive technology reads from the window, asked in-process through
// the toolkit's accessibility interfaces: the controls' names, roles and
// states, the board's name and description, the vertex letters as children of
// the drawing area, the read-out and letters after a drag, and what the board
// tells a screen reader.
#include "window_fixture.h"

#include <QAccessible>
#include <QTest>

#include <array>

using namespace orvanel;
using namespace orvanel::test;

namespace {

QAccessibleInterface* accessibleOf(const DesktopWindow& w, const QString& objectName) {
    auto* widget = w.findChild<QWidget*>(objectName);
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

QAccessibleInterface* accessibleBoard(const DesktopWindow& w) {
    return QAccessible::queryAccessibleInterface(w.board());
}

// What the board last told a screen reader, once the events queued so far
// have run: the name of the notification in its status bar. (The toolkit
// hands no event on without a platform's accessibility; the real reader's
// test hears them.)
QString toldByBoard(const DesktopWindow& w) {
    QCoreApplication::processEvents();
    return QAccessible::queryAccessibleInterface(w.gamen())->child(1)->child(0)->text(
        QAccessible::Name);
}

// Where letter `index` is painted, in screen coordinates.
QRect letterOnScreen(const DesktopWindow& w, int index) {
    const QRect box = w.board()->letterBox(index);
    return QRect(w.board()->mapToGlobal(box.topLeft()), box.size());
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpTestToolkit(); }
    void controlsAfterStartUp_data();
    void controlsAfterStartUp();
    void statesFollowTheControls();
    void boardIsNamedAndDescribed();
    void lettersAreChildrenOfTheDrawingArea_data();
    void lettersAreChildrenOfTheDrawingArea();
    void readoutAndLettersFollowADrag();
    void letterDraggedOffTheBoardIsOffscreen();
    void keyboardDragIsToldAtItsSteps();
    void lettersLeaveWithTheWindow();
};

void AccessibilityTest::controlsAfterStartUp_data() {
    QTest::addColumn<QString>("object");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<QString>("groupName");
    const auto row = [](const char* object, QAccessible::Role role, const char16_t* name,
                        bool checked = false, bool disabled = false,
                        const char16_t* groupName = u"") {
        QTest::newRow(object) << QString::fromLatin1(object) << role << QString::fromUtf16(name)
                              << checked << disabled << QString::fromUtf16(groupName);
    };
    row("Command1", QAccessible::PushButton, u"初期画面");
    row("Command2", QAccessible::PushButton, u"終了");
    row("Command4", QAccessible::PushButton, u"方眼");
    row("Command5", QAccessible::PushButton, u"直線");
    row("Check1_0", QAccessible::CheckBox, u"直線 1");
    row("Check2", QAccessible::CheckBox, u"angle");
    row("Check3", QAccessible::CheckBox, u"nonClear");
    // Start-up selects the thin red pen, then white for the lines: one group,
    // so only white stays checked; both rows wait for their tool.
    row("Option1_0", QAccessible::RadioButton, u"赤", false, true, u"細字");
    row("Option1_7", QAccessible::RadioButton, u"消しゴム", false, true, u"太字");
    row("Option2_3", QAccessible::RadioButton, u"白", true, true, u"直線の色");
    row("Label1", QAccessible::StaticText, u"くさび形の角");
    row("Label3_0", QAccessible::StaticText, u"∠Ａ =");
    row("Label4_1", QAccessible::StaticText, u"細字");
    row("Label5_0", QAccessible::StaticText, u"∠Ａ = 41°");
    row("Label5_3", QAccessible::StaticText, u"∠Ｄ = 132°");
}

void AccessibilityTest::controlsAfterStartUp() {
    QFETCH(QString, object);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, name);
    QFETCH(bool, checked);
    QFETCH(bool, disabled);
    QFETCH(QString, groupName);
    DesktopWindow w;
    w.show();
    QAccessibleInterface* iface = accessibleOf(w, object);
    QVERIFY(iface && iface->isValid());
    QCOMPARE(iface->role(), role);
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(bool(iface->state().checked), checked);
    QCOMPARE(bool(iface->state().disabled), disabled);
    if (role == QAccessible::CheckBox || role == QAccessible::RadioButton) {
        QVERIFY(iface->state().checkable);
    }
    // Reachable from the window, the way a screen reader walks the tree; an
    // option button through the group of its row, named after the row.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&w);
    QAccessibleInterface* parent = iface->parent();
    if (role == QAccessible::RadioButton) {
        QCOMPARE(parent->role(), QAccessible::Grouping);
        QCOMPARE(parent->text(QAccessible::Name), groupName);
        QCOMPARE(parent->parent(), window);
    } else {
        QCOMPARE(parent, window);
    }
    QVERIFY(parent->indexOfChild(iface) >= 0);
}

void AccessibilityTest::statesFollowTheControls() {
    DesktopWindow w;
    w.show();
    QAccessibleInterface* angle = accessibleOf(w, QStringLiteral("Check2"));
    w.button(controls::Check2)->click();
    QVERIFY(angle->state().checked);
    QVERIFY(!accessibleOf(w, QStringLiteral("Label5_0"))->state().invisible);

    // The memo tool enables the pen rows; picking a pen unchecks white.
    w.button(controls::Command3)->click();
    QAccessibleInterface* yellow = accessibleOf(w, QStringLiteral("Option1_5"));
    QVERIFY(!yellow->state().disabled);
    w.button(controls::Option1[5])->click();
    QVERIFY(yellow->state().checked);
    QVERIFY(!accessibleOf(w, QStringLiteral("Option2_3"))->state().checked);
}

void AccessibilityTest::boardIsNamedAndDescribed() {
    DesktopWindow w;
    w.show();
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(w.gamen());
    QCOMPARE(board->text(QAccessible::Name), QStringLiteral("黒板"));
    QCOMPARE(board->text(QAccessible::Description), QString::fromUtf8(kBoardDescription));
    QCOMPARE(board->role(), QAccessible::Pane);
    QVERIFY(board->state().focusable);
    QCOMPARE(board->childCount(), 2);
    QCOMPARE(board->child(0), accessibleBoard(w));
    QCOMPARE(board->child(0)->role(), QAccessible::Canvas);
    QCOMPARE(board->child(0)->parent(), board);
    // The status bar with the notification that speaks for the board.
    QAccessibleInterface* status = board->child(1);
    QCOMPARE(status->role(), QAccessible::StatusBar);
    QCOMPARE(status->parent(), board);
    QCOMPARE(board->indexOfChild(status), 1);
    QCOMPARE(status->childCount(), 1);
    QCOMPARE(status->child(0)->role(), QAccessible::Notification);
    QCOMPARE(status->child(0)->parent(), status);
    QVERIFY(!status->child(0)->state().invisible);
    // The window's language, for a screen reader's voice.
    QCOMPARE(QLocale().language(), QLocale::Japanese);
    int start = -1;
    int end = -1;
    QCOMPARE(accessibleBoard(w)->child(0)->textInterface()->attributes(0, &start, &end),
             QStringLiteral("language:ja;"));
}

void AccessibilityTest::lettersAreChildrenOfTheDrawingArea_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QPoint>("topLeft"); // on the board, as the reset places it
    QTest::newRow("A") << 0 << "頂点 A" << QStringLiteral("Ａ") << QPoint(590, 95);
    QTest::newRow("B") << 1 << "頂点 B" << QStringLiteral("Ｂ") << QPoint(60, 520);
    QTest::newRow("C") << 2 << "頂点 C" << QStringLiteral("Ｃ") << QPoint(665, 523);
    QTest::newRow("D") << 3 << "頂点 D" << QStringLiteral("D") << QPoint(500, 330);
}

void AccessibilityTest::lettersAreChildrenOfTheDrawingArea() {
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, letter);
    QFETCH(QPoint, topLeft);
    DesktopWindow w;
    w.show();
    QAccessibleInterface* canvas = accessibleBoard(w);
    QCOMPARE(canvas->childCount(), 4);
    QAccessibleInterface* child = canvas->child(index);
    QVERIFY(child && child->isValid());
    QCOMPARE(canvas->child(index), child); // the same object every time it is asked for
    QCOMPARE(child->role(), QAccessible::StaticText);
    QCOMPARE(child->text(QAccessible::Name), name);
    QVERIFY(child->state().readOnly);
    QVERIFY(!child->state().invisible && !child->state().offscreen);
    QAccessibleTextInterface* text = child->textInterface();
    QVERIFY(text);
    QCOMPARE(text->text(0, text->characterCount()), letter);

    const QRect rect = child->rect();
    QCOMPARE(rect.topLeft(), w.board()->mapToGlobal(topLeft));
    const Size size = w.model().layer().letter(index).size;
    QCOMPARE(rect.size(), QSize(size.width, size.height));
    QVERIFY(rect.width() >= 20 && rect.height() >= 29);
    QCOMPARE(text->characterRect(0), rect);

    QCOMPARE(child->parent(), canvas);
    QCOMPARE(canvas->indexOfChild(child), index);
    QCOMPARE(canvas->childAt(rect.center().x(), rect.center().y()), child);
    QCOMPARE(child->window(), w.windowHandle());
}

void AccessibilityTest::readoutAndLettersFollowADrag() {
    DesktopWindow w;
    w.show();
    w.button(controls::Check2)->click();
    QAccessibleInterface* readoutA = accessibleOf(w, QStringLiteral("Label5_0"));
    QCOMPARE(readoutA->text(QAccessible::Name), QStringLiteral("∠Ａ = 41°"));
    QAccessibleInterface* canvas = accessibleBoard(w);
    const QRect letterA = canvas->child(0)->rect();
    const QRect letterD = canvas->child(3)->rect();

    Pointer(w).drag({600, 150}, {500, 200});

    QVERIFY(w.label(controls::Label5[0])->text() != QStringLiteral(" 41"));
    QCOMPARE(readoutA->text(QAccessible::Name), QString::fromStdString(w.session().readoutLine(0)));
    QCOMPARE(accessibleOf(w, QStringLiteral("Label5_3"))->text(QAccessible::Name),
             QString::fromStdString(w.session().readoutLine(3)));
    // The whole read-out told after the drag; the board keeps its
    // instructions.
    QCOMPARE(toldByBoard(w), QString::fromStdString(w.session().readoutSentence()));
    QCOMPARE(accessibleOf(w, QStringLiteral("gamen"))->text(QAccessible::Description),
             QString::fromUtf8(kBoardDescription));
    QCOMPARE(canvas->child(0)->rect(), letterA.translated(-100, 50));
    QCOMPARE(canvas->child(0)->rect(), letterOnScreen(w, 0));
    QCOMPARE(canvas->child(3)->rect(), letterD);
}

void AccessibilityTest::letterDraggedOffTheBoardIsOffscreen() {
    DesktopWindow w;
    w.show();
    Pointer(w).drag({600, 150}, {600, -250}); // A's letter ends far above the board
    QAccessibleInterface* letterA = accessibleBoard(w)->child(0);
    QVERIFY(letterA->state().offscreen);
    QCOMPARE(letterA->rect(), letterOnScreen(w, 0));
    QVERIFY(!accessibleBoard(w)->child(3)->state().offscreen);
}

// D, Space, Shift+Right six times, Space: the vertex, its taking, then the
// letting go with the new angles, in one utterance each; the read-out's
// names follow at the release.
void AccessibilityTest::keyboardDragIsToldAtItsSteps() {
    DesktopWindow w;
    w.show();
    w.button(controls::Check2)->click();
    w.gamen()->setFocus();
    QAccessibleInterface* readoutD = accessibleOf(w, QStringLiteral("Label5_3"));
    QCOMPARE(toldByBoard(w), QStringLiteral("∠Ａ = 41°、∠Ｂ = 35°、∠Ｃ = 56°、∠Ｄ = 132°"));
    QTest::keyClick(w.gamen(), Qt::Key_D);
    QCOMPARE(toldByBoard(w), QStringLiteral("頂点 D"));
    QTest::keyClick(w.gamen(), Qt::Key_Space);
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(w.gamen(), Qt::Key_Right, Qt::ShiftModifier);
    }
    QCOMPARE(toldByBoard(w), QStringLiteral("頂点 D をつかみました"));
    QCOMPARE(readoutD->text(QAccessible::Name), QStringLiteral("∠Ｄ = 132°"));
    QTest::keyClick(w.gamen(), Qt::Key_Space);
    QCOMPARE(toldByBoard(w),
             QStringLiteral("離しました。∠Ａ = 58°、∠Ｂ = 35°、∠Ｃ = 75°、∠Ｄ = 168°"));
    QCOMPARE(readoutD->text(QAccessible::Name), QStringLiteral("∠Ｄ = 168°"));
}

void AccessibilityTest::lettersLeaveWithTheWindow() {
    std::array<QAccessible::Id, 4> ids{};
    {
        DesktopWindow w;
        w.show();
        QAccessibleInterface* canvas = accessibleBoard(w);
        for (int i = 0; i < 4; ++i) {
            ids[i] = QAccessible::uniqueId(canvas->child(i));
            QCOMPARE(QAccessible::accessibleInterface(ids[i]), canvas->child(i));
        }
    }
    for (const QAccessible::Id id : ids) {
        QVERIFY(!QAccessible::accessibleInterface(id));
    }
}

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
