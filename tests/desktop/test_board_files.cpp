// SPDX-License-Identifier: MIT
// A board that lasts: Ctrl+S saves a picture that opens again in another
// window exactly, as one action; every change is kept in the state folder,
// so that after a restart Ctrl+O, Enter brings the last board back; nothing
// is kept when nothing changed, a folder that refuses is told once, and a
// file that holds no board changes nothing.
#include "window_fixture.h"

#include "desktop/board_chooser.h"
#include "desktop/board_files.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

using namespace orvanel;
using namespace orvanel::test;

Q_DECLARE_METATYPE(std::optional<orvanel::Notice>)

class BoardFilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpTestToolkit(); }
    void savedBoardOpensInAnotherWindow();
    void ctrlOEnterOpensTheLastBoardAfterARestart();
    void nothingIsKeptWhenNothingChanged();
    void eachWindowKeepsOneFileAndTheNewestStay();
    void aFolderThatRefusesIsToldOnce();
    void theChooserListsForgetsAndCancels();
    void aDroppedFileOpensOrIsTold_data();
    void aDroppedFileOpensOrIsTold();
};

namespace {

// The state folder of one test: boards kept there are the test's alone.
class StateFolder {
public:
    explicit StateFolder(const QString& path = {}) : before_(qgetenv("XDG_STATE_HOME")) {
        qputenv("XDG_STATE_HOME", (path.isEmpty() ? dir_.path() : path).toLocal8Bit());
    }
    ~StateFolder() { qputenv("XDG_STATE_HOME", before_); }
    QStringList kept() const {
        QStringList files;
        for (const KeptBoard& board : KeptBoards::list()) {
            files << QFileInfo(board.path).fileName();
        }
        return files;
    }

private:
    QTemporaryDir dir_;
    QByteArray before_;
};

// A window shown, whose notices are collected.
struct Window {
    DesktopWindow w;
    std::vector<Notice> told;
    Window() {
        w.setNoticeBox([this](QWidget*, Notice notice) { told.push_back(notice); });
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w)); // where its shortcuts work
    }
};

// A lesson's board: a trace of the figure dragged with nonClear, memo
// strokes in two pens, two straight lines, the read-out shown.
void teach(DesktopWindow& w) {
    Pointer pointer(w);
    w.button(controls::Check3)->click();
    pointer.press({550, 350});
    for (int i = 1; i <= 8; ++i) {
        pointer.move({550.0 + 6 * i, 350.0 + 3 * i});
    }
    pointer.release({598, 374});
    w.button(controls::Check2)->click();
    w.button(controls::Command3)->click();
    pointer.press({100, 100});
    for (int i = 1; i <= 10; ++i) {
        pointer.move({100.0 + 9 * i, 100.0 + (i % 3) * 7});
    }
    pointer.release({190, 100});
    w.button(controls::Option1[5])->click();
    pointer.drag({120, 500}, {300, 560});
    w.button(controls::Command5)->click();
    pointer.drag({40, 40}, {760, 600});
    w.button(controls::Option2[2])->click();
    pointer.drag({700, 60}, {60, 580});
}

// What the widgets show, control by control.
QStringList shown(const DesktopWindow& w) {
    QStringList states;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const QWidget* widget = w.widget(ControlId(i));
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        const auto* label = qobject_cast<const QLabel*>(widget);
        states << QStringLiteral("%1 '%2' checked %3 enabled %4 visible %5 at %6,%7")
                      .arg(widget->objectName(), button  ? button->text()
                                                 : label ? label->text()
                                                         : QString())
                      .arg(button && button->isChecked())
                      .arg(widget->isEnabled())
                      .arg(widget->isVisible())
                      .arg(widget->x())
                      .arg(widget->y());
    }
    return states;
}

// A window's board as the model holds it and as the screen shows it, with
// the keyboard focus away from it (the crosshair is not the board's).
struct BoardLook {
    Form1::Snapshot state;
    PixelBuffer pixels;
    QStringList widgets;
    QImage board;

    explicit BoardLook(DesktopWindow& w)
        : state(w.model().snapshot()), pixels(w.model().surface().pixels()), widgets(shown(w)) {
        w.widget(controls::Command1)->setFocus();
        board = renderBoard(w);
    }
};

void expectSameBoard(DesktopWindow& opened, const BoardLook& saved) {
    const BoardLook look(opened);
    QVERIFY(look.state == saved.state);
    QVERIFY(look.pixels == saved.pixels);
    QCOMPARE(look.widgets, saved.widgets);
    QCOMPARE(look.board, saved.board);
}

// Runs `act` on the chooser once `key` has opened it over `w`; false when
// no chooser opened.
bool inChooser(DesktopWindow& w, const std::function<void(BoardChooser&)>& act) {
    bool opened = false;
    QTimer::singleShot(0, &w, [&] {
        if (auto* chooser = qobject_cast<BoardChooser*>(QApplication::activeModalWidget())) {
            opened = true;
            act(*chooser);
        }
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close(); // never left open when something failed
        }
    });
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
    // A window manager gives the window the keys back; the test's platform
    // has none.
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w) && opened;
}

QByteArray plainPng() {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(20, 10, QImage::Format_RGB32).save(&buffer, "PNG");
    return png;
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

// Ctrl+S, then a new window opens the file through Ctrl+O's "Open a file…":
// the same state, board pixels and widgets; Ctrl+Z gives the start back.
void BoardFilesTest::savedBoardOpensInAnotherWindow() {
    const StateFolder state;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("lesson.png"));
    Window saved;
    teach(saved.w);
    saved.w.setSaveDialog([&](QWidget*, const QString&) { return file; });
    QTest::keyClick(&saved.w, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(QImage(file).size(), saved.w.size()); // a picture every viewer shows

    Window opened;
    const Form1::Snapshot start = opened.w.model().snapshot();
    const PixelBuffer startPixels = opened.w.model().surface().pixels();
    QString folder;
    opened.w.setOpenFileDialog([&](QWidget*, const QString& from) {
        folder = from;
        return file;
    });
    QVERIFY(inChooser(opened.w, [](BoardChooser& chooser) {
        chooser.findChild<QPushButton*>(QStringLiteral("openFile"))->click();
    }));
    QCOMPARE(folder, picturesFolder());
    QVERIFY(opened.told.empty());
    expectSameBoard(opened.w, BoardLook(saved.w));

    QTest::keyClick(&opened.w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(opened.w.model().snapshot() == start);
    QVERIFY(opened.w.model().surface().pixels() == startPixels);
}

// A window and then another change their boards and go; the next one,
// Ctrl+O, Enter: the board of the last one, and no second copy of it kept.
void BoardFilesTest::ctrlOEnterOpensTheLastBoardAfterARestart() {
    const StateFolder state;
    QString olderIn;
    {
        Window older;
        older.w.button(controls::Command4)->click();
        olderIn = older.w.keptBoards().fileName();
    }
    auto first = std::make_unique<Window>();
    teach(first->w);
    const BoardLook before(first->w);
    const QString keptIn = first->w.keptBoards().fileName();
    first->w.close();
    first.reset();
    Window next;
    QVERIFY(inChooser(next.w,
                      [](BoardChooser& chooser) { QTest::keyClick(&chooser, Qt::Key_Return); }));
    QVERIFY(next.told.empty());
    expectSameBoard(next.w, before);
    next.w.keptBoards().finish();
    QCOMPARE(state.kept(), (QStringList{keptIn, olderIn}));
}

// Shown, focused, a chooser cancelled, closed: no file.
void BoardFilesTest::nothingIsKeptWhenNothingChanged() {
    const StateFolder state;
    {
        Window w;
        w.w.gamen()->setFocus(Qt::TabFocusReason);
        QVERIFY(inChooser(
            w.w, [](BoardChooser& chooser) { QTest::keyClick(&chooser, Qt::Key_Escape); }));
        w.w.close();
    }
    QCOMPARE(state.kept(), QStringList());
}

// One file per window, rewritten at every change; of older ones, the
// newest kKeptBoards stay.
void BoardFilesTest::eachWindowKeepsOneFileAndTheNewestStay() {
    const StateFolder state;
    QDir().mkpath(KeptBoards::folder());
    QStringList older;
    const QDateTime long_ago = QDateTime::currentDateTime().addDays(-30);
    for (int i = 0; i < kKeptBoards + 2; ++i) {
        const QString name =
            QStringLiteral("board-20260101-0000%1-1.png").arg(i, 2, 10, QChar('0'));
        write(QDir(KeptBoards::folder()).filePath(name), plainPng());
        QFile file(QDir(KeptBoards::folder()).filePath(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(long_ago.addSecs(i), QFileDevice::FileModificationTime));
        older.prepend(name);
    }
    Window w;
    w.w.button(controls::Command4)->click();
    Pointer(w.w).drag({550, 350}, {500, 300});
    w.w.keptBoards().finish();
    const QStringList kept = state.kept();
    QCOMPARE(kept.size(), kKeptBoards);
    QCOMPARE(kept.front(), w.w.keptBoards().fileName());
    QCOMPARE(kept.mid(1), older.mid(0, kKeptBoards - 1));
    // What the file holds is the board as it is now.
    Window again;
    QVERIFY(!again.w.openFile(KeptBoards::list().front().path));
    QVERIFY(again.w.model().snapshot() == w.w.model().snapshot());
}

// A state folder that cannot be made (its parent is a file, which even root
// cannot write into): KeepRefused once, and the window works on.
void BoardFilesTest::aFolderThatRefusesIsToldOnce() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a-file"));
    write(file, "not a folder");
    const StateFolder state(file + QStringLiteral("/state"));
    Window w;
    for (int i = 0; i < 3; ++i) {
        w.w.button(controls::Command4)->click();
        w.w.keptBoards().finish();
        QCoreApplication::processEvents(); // where the notice is told
    }
    QCOMPARE(w.told, std::vector{Notice::KeepRefused});
    QCOMPARE(w.w.session().history().stepCount(), 3u);
}

// Three kept boards: newest first with their times, the newest selected;
// "forget" empties the list and the folder, and Enter then asks for a file;
// Escape cancels.
void BoardFilesTest::theChooserListsForgetsAndCancels() {
    const StateFolder state;
    QDir().mkpath(KeptBoards::folder());
    const QDateTime base(QDate(2026, 12, 9), QTime(14, 5));
    for (int i = 0; i < 3; ++i) {
        const QString path =
            QDir(KeptBoards::folder()).filePath(QStringLiteral("board-%1.png").arg(i));
        write(path, plainPng());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(base.addSecs(60 * i), QFileDevice::FileModificationTime));
    }
    BoardChooser chooser({}, nullptr);
    auto* list = chooser.findChild<QListWidget*>(QStringLiteral("keptBoards"));
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(list->item(0)->text(), QStringLiteral("2026-12-09 14:07"));
    QCOMPARE(list->item(2)->text(), QStringLiteral("2026-12-09 14:05"));
    QCOMPARE(list->item(0)->icon().availableSizes().value(0).width(), BoardChooser::kPictureWidth);
    QCOMPARE(list->accessibleName(), QStringLiteral("とっておいた黒板 / Kept boards"));

    chooser.findChild<QPushButton*>(QStringLiteral("forget"))->click();
    QCOMPARE(list->count(), 0);
    QCOMPARE(state.kept(), QStringList());
    QVERIFY(!chooser.findChild<QPushButton*>(QStringLiteral("open"))->isEnabled());
    QVERIFY(chooser.findChild<QPushButton*>(QStringLiteral("openFile"))->isDefault());
    chooser.show();
    QTest::keyClick(&chooser, Qt::Key_Escape);
    QCOMPARE(chooser.result(), int(QDialog::Rejected));
    QVERIFY(chooser.chosen().isEmpty());
}

// A file dropped on the window: a board opens as one action; a picture
// without one, or a file that is not there, is told and changes nothing.
void BoardFilesTest::aDroppedFileOpensOrIsTold_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<std::optional<Notice>>("notice");
    QTest::newRow("a board") << "board" << std::optional<Notice>();
    QTest::newRow("a picture") << "picture" << std::optional(Notice::NotABoard);
    QTest::newRow("no file") << "none" << std::optional(Notice::ReadFailed);
}

void BoardFilesTest::aDroppedFileOpensOrIsTold() {
    QFETCH(QString, what);
    QFETCH(std::optional<Notice>, notice);
    const StateFolder state;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("dropped.png"));
    Window source;
    teach(source.w);
    if (what == "board") {
        write(file, source.w.pictureWithBoard());
    } else if (what == "picture") {
        write(file, plainPng());
    }
    Window w;
    w.w.button(controls::Command4)->click();
    const Form1::Snapshot before = w.w.model().snapshot();
    const std::size_t steps = w.w.session().history().stepCount();

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    const QPointF at(400, 300);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.w, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.w, &drop);
    QCoreApplication::processEvents();

    if (notice) {
        QCOMPARE(w.told, std::vector{*notice});
        QVERIFY(w.w.model().snapshot() == before);
        QCOMPARE(w.w.session().history().stepCount(), steps);
    } else {
        QVERIFY(w.told.empty());
        expectSameBoard(w.w, BoardLook(source.w));
        QCOMPARE(w.w.session().history().stepCount(), steps + 1);
    }
}

QTEST_MAIN(BoardFilesTest)
#include "test_board_files.moc"
