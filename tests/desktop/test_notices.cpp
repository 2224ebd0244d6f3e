// SPDX-License-Identifier: MIT
// Every failure of Ctrl+S, Ctrl+C and Ctrl+P is told, and only a failure: a
// picture saved or printed into a folder that cannot take it tells its
// notice and leaves no file; into a writable folder, or cancelled, nothing
// is told.
#include "window_fixture.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <vector>

using namespace orvanel;
using namespace orvanel::test;

class NoticesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpTestToolkit(); }
    void onlyFailuresAreTold_data();
    void onlyFailuresAreTold();
    void aNoticeIsAWarningBox();
};

namespace {

// A folder no one may write into: one without write permission, or, where
// the test's user writes into that all the same (root), /proc.
QString readOnlyFolder(const QTemporaryDir& dir) {
    const QString folder = dir.filePath(QStringLiteral("read-only"));
    QDir().mkdir(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(folder + QStringLiteral("/probe"));
    if (!probe.open(QIODevice::WriteOnly)) {
        return folder;
    }
    probe.remove();
    return QStringLiteral("/proc");
}

} // namespace

void NoticesTest::onlyFailuresAreTold_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("folder"); // where the file goes; "cancelled": the dialog was
    QTest::addColumn<bool>("failed");
    for (const int key : {Qt::Key_S, Qt::Key_P}) {
        const char* what = key == Qt::Key_S ? "save" : "print";
        QTest::addRow("%s: writable", what) << key << "writable" << false;
        QTest::addRow("%s: read-only", what) << key << "read-only" << true;
        QTest::addRow("%s: missing", what) << key << "missing" << true;
        QTest::addRow("%s: cancelled", what) << key << "cancelled" << false;
    }
    QTest::newRow("copy") << int(Qt::Key_C) << "" << false;
}

void NoticesTest::onlyFailuresAreTold() {
    QFETCH(int, key);
    QFETCH(QString, folder);
    QFETCH(bool, failed);
    QTemporaryDir dir;
    const QString place = folder == "read-only" ? readOnlyFolder(dir)
                          : folder == "missing" ? dir.filePath(QStringLiteral("missing"))
                                                : dir.path();
    const QString file = QDir(place).filePath(key == Qt::Key_S ? QStringLiteral("window.png")
                                                               : QStringLiteral("window.pdf"));
    const bool cancelled = folder == "cancelled";
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    std::vector<Notice> told;
    w.setNoticeBox([&](QWidget* parent, Notice notice) {
        QCOMPARE(parent, &w);
        told.push_back(notice);
    });
    w.setSaveDialog([&](QWidget*, const QString&) { return cancelled ? QString() : file; });
    w.setPrintDialog([&](QWidget*, QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        return !cancelled;
    });
    QTest::keyClick(&w, Qt::Key(key), Qt::ControlModifier);

    std::vector<Notice> expected;
    if (failed) {
        expected.push_back(key == Qt::Key_S ? Notice::SaveFailed : Notice::PrintFailed);
    }
    QCOMPARE(told.size(), expected.size());
    QVERIFY(told == expected);
    if (key == Qt::Key_C) {
        QCOMPARE(QGuiApplication::clipboard()->image().size(), w.size());
    } else if (failed || cancelled) {
        QVERIFY(!QFileInfo::exists(file));
    } else if (key == Qt::Key_S) {
        QCOMPARE(QImage(file).size(), w.size());
    } else {
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
    }
}

// Untouched by a test, a notice is a warning box over the window under the
// window's caption: the Japanese line, the English beneath it.
void NoticesTest::aNoticeIsAWarningBox() {
    DesktopWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTemporaryDir dir;
    w.setSaveDialog([&](QWidget*, const QString&) { return dir.filePath("missing/window.png"); });
    bool shown = false;
    QString title;
    QString text;
    QWidget* parent = nullptr;
    QMessageBox::Icon icon{};
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll.stop();
            shown = true;
            title = box->windowTitle();
            text = box->text();
            parent = box->parentWidget();
            icon = box->icon();
            box->accept();
        }
    });
    poll.start(10);
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(shown);
    QCOMPARE(parent, &w);
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(title, w.windowTitle());
    QCOMPARE(text,
             QString::fromUtf8("画像を保存できませんでした。\n\nThe picture could not be saved."));
}

QTEST_MAIN(NoticesTest)
#include "test_notices.moc"
