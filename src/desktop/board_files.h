// SPDX-License-Identifier: MIT
// Board files on the desktop: read and written whole, and the boards the
// desktop keeps so that nothing is lost when its window goes:
// PNG pictures with the board in them, as Ctrl+S saves them, in the user's
// state folder ($XDG_STATE_HOME/orvanel, by default ~/.local/state/orvanel).
// Each window keeps one file, named by the time it started and rewritten
// whole at every keep; the newest kKeptBoards files (by the time they were
// last written) stay, older ones go.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
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

    // A window's own file, named by the time it is made.
    KeptBoards();
    const QString& fileName() const { return fileName_; }
    // Writes `png` as this window's board (with writeWholeFile), then
    // forgets all but the newest kKeptBoards. False when the folder cannot
    // take it.
    bool keep(const QByteArray& png);

private:
    QString fileName_;
};

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
