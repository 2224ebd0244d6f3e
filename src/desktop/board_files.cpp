// SPDX-License-Identifier: MIT
#include "desktop/board_files.h"

#include "window/captions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace orvanel {

namespace {

const QString kPattern = QStringLiteral("board-*.png");

QList<QFileInfo> keptFiles() {
    return QDir(KeptBoards::folder())
        .entryInfoList({kPattern}, QDir::Files | QDir::NoDotAndDotDot, QDir::Time);
}

} // namespace

// Qt 6.4 has no standard location for state: the XDG rule is followed here,
// an XDG_STATE_HOME that is not absolute being ignored.
QString KeptBoards::folder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return QDir::cleanPath(base + QStringLiteral("/orvanel"));
}

std::vector<KeptBoard> KeptBoards::list() {
    std::vector<KeptBoard> boards;
    for (const QFileInfo& file : keptFiles()) {
        boards.push_back({file.absoluteFilePath(), file.lastModified()});
    }
    return boards;
}

bool KeptBoards::forget() {
    bool all = true;
    for (const QFileInfo& file : keptFiles()) {
        all = QFile::remove(file.absoluteFilePath()) && all;
    }
    return all;
}

bool KeptBoards::isKept(const QString& path) {
    const QFileInfo file(path);
    return file.absolutePath() == QFileInfo(folder()).absoluteFilePath() &&
           QDir::match(kPattern, file.fileName());
}

KeptBoards::KeptBoards() {
    // A second window of the same process in the same second (only tests
    // make one) gets a file of its own.
    static int windows = 0;
    const QString ordinal = windows++ == 0 ? QString() : QStringLiteral("-%1").arg(windows);
    fileName_ = QDateTime::currentDateTime().toString(QStringLiteral("'board-'yyyyMMdd-HHmmss-")) +
                QString::number(QCoreApplication::applicationPid()) + ordinal +
                QStringLiteral(".png");
}

bool KeptBoards::keep(const QByteArray& png) {
    const QString dir = folder();
    if (!QDir().mkpath(dir)) {
        return false;
    }
    if (!writeWholeFile(QDir(dir).filePath(fileName_), png)) {
        return false;
    }
    const QList<QFileInfo> files = keptFiles();
    for (qsizetype i = kKeptBoards; i < files.size(); ++i) {
        QFile::remove(files[i].absoluteFilePath());
    }
    return true;
}

QString picturesFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return folder.isEmpty() || !QDir(folder).exists() ? QDir::homePath() : folder;
}

std::optional<QByteArray> readFile(const QString& path, qint64 limit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes;
}

bool writeWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace orvanel
