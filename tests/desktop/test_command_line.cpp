// SPDX-License-Identifier: MIT
// The command line: the program's options and the file to open taken out,
// the toolkit's options passed on whole, anything else a usage error;
// --version, a usage error and a file that cannot be read answered by the
// program itself before it looks for a display; a board that cannot be
// opened said before any window shows.
#include "desktop/command_line.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanel;

Q_DECLARE_METATYPE(orvanel::Notice)

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void parses_data();
    void parses();
    void answersWithoutADisplay();
    void aBoardThatCannotOpenEndsTheProgram_data();
    void aBoardThatCannotOpenEndsTheProgram();
};

namespace {

// Runs the program without a display, with `environment` added; its exit
// status, what it printed and what it printed on stderr.
std::tuple<int, QString, QString> run(const QStringList& arguments,
                                      const QStringList& environment = {}) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM"}) {
        env.remove(QString::fromLatin1(name));
    }
    for (const QString& variable : environment) {
        env.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    }
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ORVANEL_PROGRAM), arguments);
    program.waitForFinished(10000);
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

} // namespace

void CommandLineTest::parses_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("options"); // the program's options set: "fit", "last", "fit last"
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("asked"); // "help", "version", "error" or ""
    QTest::addColumn<QStringList>("toolkit");
    const QStringList none;
    QTest::newRow("--fit keeps the platform")
        << QStringList{"--fit", "-platform", "offscreen"} << "fit"
        << ""
        << "" << QStringList{"-platform", "offscreen"};
    QTest::newRow("toolkit options and values")
        << QStringList{"-style", "Fusion", "--display", ":1", "--fit", "-reverse", "-style=Fusion"}
        << "fit"
        << ""
        << "" << QStringList{"-style", "Fusion", "--display", ":1", "-reverse", "-style=Fusion"};
    // A value is the toolkit's even when it looks like an option.
    QTest::newRow("value like an option") << QStringList{"-qwindowtitle", "--fit"} << ""
                                          << ""
                                          << "" << QStringList{"-qwindowtitle", "--fit"};
    QTest::newRow("a file") << QStringList{"picture.png"} << ""
                            << "picture.png"
                            << "" << none;
    QTest::newRow("a file among options")
        << QStringList{"-style", "Fusion", "board.png", "--fit"} << "fit"
        << "board.png"
        << "" << QStringList{"-style", "Fusion"};
    QTest::newRow("--last") << QStringList{"--last", "--fit"} << "fit last"
                            << ""
                            << "" << none;
    QTest::newRow("--help") << QStringList{"--help"} << ""
                            << ""
                            << "help" << none;
    QTest::newRow("--version") << QStringList{"--version", "--fit"} << "fit"
                               << ""
                               << "version" << none;
    QTest::newRow("--bogus") << QStringList{"--fit", "--bogus"} << "fit"
                             << ""
                             << "error" << none;
    QTest::newRow("single-dash ours") << QStringList{"-fit"} << ""
                                      << ""
                                      << "error" << none;
    QTest::newRow("joined value not taken") << QStringList{"-platform=offscreen"} << ""
                                            << ""
                                            << "error" << none;
    QTest::newRow("lone dash") << QStringList{"-"} << ""
                               << ""
                               << "error" << none;
    QTest::newRow("missing value") << QStringList{"--fit", "-platform"} << "fit"
                                   << ""
                                   << "error" << none;
    QTest::newRow("two files") << QStringList{"a.png", "b.png"} << ""
                               << "a.png"
                               << "error" << none;
    QTest::newRow("a file and --last") << QStringList{"a.png", "--last"} << "last"
                                       << "a.png"
                                       << "error" << none;
}

void CommandLineTest::parses() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, options);
    QFETCH(QString, file);
    QFETCH(QString, asked);
    QFETCH(QStringList, toolkit);
    std::vector<std::string> strings{"orvanel"};
    for (const QString& a : arguments) {
        strings.push_back(a.toStdString());
    }
    std::vector<const char*> argv;
    for (const std::string& s : strings) {
        argv.push_back(s.c_str());
    }
    const CommandLine line = parseCommandLine(int(argv.size()), argv.data());
    QCOMPARE(line.fit, options.contains("fit"));
    QCOMPARE(line.last, options.contains("last"));
    QCOMPARE(QString::fromStdString(line.file), file);
    QCOMPARE(line.help, asked == "help");
    QCOMPARE(line.version, asked == "version");
    QVERIFY2(line.error.empty() == (asked != "error"), line.error.c_str());
    if (asked == "error") {
        QVERIFY2(line.error.find(strings.back()) != std::string::npos, line.error.c_str());
        return;
    }
    QStringList passed;
    for (const std::string& s : line.toolkitArguments) {
        passed << QString::fromStdString(s);
    }
    QCOMPARE(passed, QStringList{"orvanel"} + toolkit);
}

// No display, no platform: --version, --help and a mistyped option are
// answered all the same, on stdout with status 0 or on stderr with 2.
void CommandLineTest::answersWithoutADisplay() {
    const auto [versionCode, version, versionErrors] = run({"--version"});
    QCOMPARE(versionCode, 0);
    QCOMPARE(version, QStringLiteral("orvanel " ORVANEL_VERSION "\n"));
    const auto [helpCode, help, helpErrors] = run({"--help"});
    QCOMPARE(helpCode, 0);
    QVERIFY2(help.startsWith("Usage: orvanel ") && help.contains("--fit"), qPrintable(help));
    const auto [bogusCode, bogusOut, bogus] = run({"--bogus"});
    QCOMPARE(bogusCode, kUsageErrorStatus);
    QVERIFY2(bogusOut.isEmpty() && bogus.startsWith("orvanel: unknown option '--bogus'\nUsage: "),
             qPrintable(bogus));
}

// A file that cannot be read (said before a display is looked for), one that
// holds no board, and --last when the newest kept board is damaged: the
// notice in both languages on stderr, status 1, and no window.
void CommandLineTest::aBoardThatCannotOpenEndsTheProgram_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file"); // the file to open, its content ("-": none)
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Notice>("notice");
    const QByteArray noBoard("\x89PNG\r\n\x1a\n but nothing more");
    const Notice read = Notice::ReadFailed;
    const Notice none = Notice::NotABoard;
    QTest::newRow("missing") << QStringList{"no-such-file.png"} << "no-such-file.png"
                             << QByteArray("-") << read;
    QTest::newRow("a folder") << QStringList{"."} << "." << QByteArray("-") << read;
    QTest::newRow("no board") << QStringList{"-platform", "offscreen", "picture.png"}
                              << "picture.png" << noBoard << none;
    QTest::newRow("--last, no board")
        << QStringList{"-platform", "offscreen", "--last"}
        << "state/orvanel/board-20261209-140501-1.png" << noBoard << none;
}

void CommandLineTest::aBoardThatCannotOpenEndsTheProgram() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(Notice, notice);
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    if (content != "-") {
        QDir().mkpath(QFileInfo(file).path());
        QFile written(file);
        QVERIFY(written.open(QIODevice::WriteOnly) && written.write(content) == content.size());
    }
    // A runtime folder of the program's own, or Qt says it made one.
    const auto [code, out, errors] = run(
        arguments, {"XDG_STATE_HOME=" + dir.filePath("state"), "XDG_RUNTIME_DIR=" + dir.path()});
    QCOMPARE(code, kOpenFailedStatus);
    const QString path = arguments.contains("--last") ? dir.filePath(file) : file;
    const auto line = [&](std::string_view text) {
        return "orvanel: " + path + ": " + QString::fromUtf8(text.data(), qsizetype(text.size())) +
               '\n';
    };
    QCOMPARE(errors, line(noticeText(notice).japanese) + line(noticeText(notice).english));
    QVERIFY(out.isEmpty());
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
