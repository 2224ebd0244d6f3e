// SPDX-License-Identifier: MIT
#include "desktop/board_files.h"

#include "window/board_file.h"
#include "window/captions.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace orvanel {

namespace {

const QString kPattern = QStringLiteral("board-*.png");

QList<QFileInfo> keptFiles(const QDir& folder = QDir(KeptBoards::folder())) {
    return folder.entryInfoList({kPattern}, QDir::Files | QDir::NoDotAndDotDot, QDir::Time);
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

KeptBoards::KeptBoards(std::function<void()> refused) : refused_(std::move(refused)) {
    // A second window of the same process in the same second (only tests
    // make one) gets a file of its own.
    static int windows = 0;
    const QString ordinal = windows++ == 0 ? QString() : QStringLiteral("-%1").arg(windows);
    fileName_ = QDateTime::currentDateTime().toString(QStringLiteral("'board-'yyyyMMdd-HHmmss-")) +
                QString::number(QCoreApplication::applicationPid()) + ordinal +
                QStringLiteral(".png");
}

KeptBoards::~KeptBoards() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    if (writer_.joinable()) {
        writer_.join();
    }
}

void KeptBoards::keep(QImage picture, std::vector<std::uint8_t> board) {
    {
        const std::lock_guard lock(mutex_);
        waiting_ = Board{std::move(picture), std::move(board), folder()};
        if (!writer_.joinable()) {
            writer_ = std::thread([this] { write(); });
        }
    }
    changed_.notify_all();
}

void KeptBoards::finish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !waiting_ && !writing_; });
}

// The writer's thread, until the window goes: what is left waiting when it
// goes is written first.
void KeptBoards::write() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return waiting_ || closing_; });
        if (!waiting_) {
            return;
        }
        Board board = std::move(*waiting_);
        waiting_.reset();
        writing_ = true;
        lock.unlock();
        const QDir dir(board.folder);
        const QByteArray png = pictureWithBoard(board.picture, board.board, Packing::Quick);
        if (!png.isEmpty() && QDir().mkpath(dir.path()) &&
            writeWholeFile(dir.filePath(fileName_), png)) {
            const QList<QFileInfo> files = keptFiles(dir);
            for (qsizetype i = kKeptBoards; i < files.size(); ++i) {
                QFile::remove(files[i].absoluteFilePath());
            }
        } else if (refused_) {
            refused_();
        }
        lock.lock();
        writing_ = false;
        changed_.notify_all();
    }
}

QByteArray pictureWithBoard(const QImage& picture, std::span<const std::uint8_t> board,
                            Packing packing) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) ||
        !picture.save(&buffer, "PNG", packing == Packing::Quick ? 50 : -1)) {
        return {};
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(png.constData());
    const std::vector<std::uint8_t> withBoard =
        pictureWithBoard({bytes, std::size_t(png.size())}, board);
    return QByteArray(reinterpret_cast<const char*>(withBoard.data()), qsizetype(withBoard.size()));
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
