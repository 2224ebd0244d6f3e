// SPDX-License-Identifier: MIT
// Board files on the desktop: pictures with the board in them, read and
// written whole, and the boards the desktop keeps so that nothing is lost
// when its window goes: such pictures, as Ctrl+S saves them, in the user's
// state folder ($XDG_STATE_HOME/orvanel, by default ~/.local/state/orvanel).
// Each window keeps one file, named by the time it started and rewritten
// whole at every keep; the newest kKeptBoards files (by the time they were
// last written) stay, older ones go.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

namespace orvanel {

struct KeptBoard {
    QString path;
    QDateTime time; // when it was last kept
};

class KeptBoards {
public:
    // The folder of a user's kept boards, from the environment as it is now.
    static QString folder();
    // The kept boards, newest first.
    static std::vector<KeptBoard> list();
    // Forgets every kept board (of every window); false when one stays.
    static bool forget();
    // Whether `path` is a kept board's file.
    static bool isKept(const QString& path);

    // A window's own file, named by the time it is made. `refused` runs
    // (on the thread that writes) whenever the folder does not take a board.
    explicit KeptBoards(std::function<void()> refused);
    // Waits for what was asked to be kept.
    ~KeptBoards();
    KeptBoards(const KeptBoards&) = delete;
    KeptBoards& operator=(const KeptBoards&) = delete;

    const QString& fileName() const { return fileName_; }

    // Keeps `picture` with `board` (writeBoard's data) as this window's
    // file, then forgets all but the newest kKeptBoards. Packing the picture
    // and writing it take longer than a frame (a lesson's board: some 15 ms,
    // and the disk's time to make it last), so they are done on a thread of
    // their own, one board after the other; a board still waiting when a
    // newer one comes is left for it.
    void keep(QImage picture, std::vector<std::uint8_t> board);
    // Returns once every board asked for is written (or refused).
    void finish();

private:
    struct Board {
        QImage picture;
        std::vector<std::uint8_t> board;
        QString folder; // as it was when the board was asked to be kept
    };
    void write();

    QString fileName_;
    std::function<void()> refused_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Board> waiting_;
    bool writing_ = false;
    bool closing_ = false;
    std::thread writer_; // started by the first keep
};

// How tightly a picture is packed: a file saved, as tightly as the PNG
// writer packs by default; a board kept after every action, quickly (in a
// lesson's board, 14 ms instead of 23 for a file a tenth larger).
enum class Packing { Small, Quick };
// The PNG of `picture` with `board` (writeBoard's data) in it; empty when it
// cannot be made.
QByteArray pictureWithBoard(const QImage& picture, std::span<const std::uint8_t> board,
                            Packing packing);

// The folder a picture is saved in, or a file opened from, first: the
// user's Pictures folder, else the home folder.
QString picturesFolder();

// A file's content, at most `limit` bytes and one more (enough to tell that
// it is longer); none when it cannot be read.
std::optional<QByteArray> readFile(const QString& path, qint64 limit);
// Writes `bytes` as the file at `path`: into a new file that then takes the
// old one's place, so that a crash leaves the old file or the new, never
// half of one. False, and nothing changed, when it cannot.
bool writeWholeFile(const QString& path, const QByteArray& bytes);

} // namespace orvanel
