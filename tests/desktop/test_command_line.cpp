// SPDX-License-Identifier: MIT
// The command line: the program's options taken out, the toolkit's passed on
// whole, anything else a usage error; --version and a usage error answered by
// the program itself before it looks for a display.
#include "desktop/command_line.h"

#include <QProcess>
#include <QTest>

using namespace orvanel;

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void parses_data();
    void parses();
    void answersWithoutADisplay();
};

void CommandLineTest::parses_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("fit");
    QTest::addColumn<QString>("asked"); // "help", "version", "error" or ""
    QTest::addColumn<QStringList>("toolkit");
    const QStringList none;
    QTest::newRow("--fit keeps the platform")
        << QStringList{"--fit", "-platform", "offscreen"} << true << ""
        << QStringList{"-platform", "offscreen"};
    QTest::newRow("toolkit options and values")
        << QStringList{"-style", "Fusion", "--display", ":1", "--fit", "-reverse", "-style=Fusion"}
        << true << ""
        << QStringList{"-style", "Fusion", "--display", ":1", "-reverse", "-style=Fusion"};
    // A value is the toolkit's even when it looks like an option.
    QTest::newRow("value like an option") << QStringList{"-qwindowtitle", "--fit"} << false << ""
                                          << QStringList{"-qwindowtitle", "--fit"};
    QTest::newRow("not an option")
        << QStringList{"picture.png"} << false << "" << QStringList{"picture.png"};
    QTest::newRow("--help") << QStringList{"--help"} << false << "help" << none;
    QTest::newRow("--version") << QStringList{"--version", "--fit"} << true << "version" << none;
    QTest::newRow("--bogus") << QStringList{"--fit", "--bogus"} << true << "error" << none;
    QTest::newRow("single-dash ours") << QStringList{"-fit"} << false << "error" << none;
    QTest::newRow("joined value not taken")
        << QStringList{"-platform=offscreen"} << false << "error" << none;
    QTest::newRow("lone dash") << QStringList{"-"} << false << "error" << none;
    QTest::newRow("missing value") << QStringList{"--fit", "-platform"} << true << "error" << none;
}

void CommandLineTest::parses() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, fit);
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
    QCOMPARE(line.fit, fit);
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
    const auto run = [](const QStringList& arguments) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM"}) {
            env.remove(QString::fromLatin1(name));
        }
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(ORVANEL_PROGRAM), arguments);
        program.waitForFinished(10000);
        return std::tuple{program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
                          QString::fromUtf8(program.readAllStandardError())};
    };
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

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
