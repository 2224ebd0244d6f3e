// SPDX-License-Identifier: MIT
// What the program tells the user when something it was asked to do did not
// happen, or when what it was given is not what it can open, in the
// window's language first and in English beneath it. Both
// shells show these texts, and only these, so that a failure reads the same
// wherever it happens.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace orvanel {

enum class Notice {
    SaveFailed,   // the picture could not be written
    CopyFailed,   // the system refused the picture on its clipboard
    PrintFailed,  // the printer (or the file printed to) refused the picture
    NotABoard,    // a file opened is no picture with a board in it
    DamagedBoard, // a board's file is cut short or its bytes are wrong
    NewerBoard,   // a board saved by a later version of the program
    ReadFailed,   // a file could not be read at all
    BadLink,      // the figure in the page's address could not be read
    KeepRefused,  // boards cannot be kept (storage full or refused)
};

struct NoticeText {
    std::string_view name; // the notice's name for a shell without the enum
    std::string_view japanese;
    std::string_view english;
};

inline constexpr std::array<NoticeText, 9> kNotices{{
    {"SaveFailed", "画像を保存できませんでした。", "The picture could not be saved."},
    {"CopyFailed", "画像をコピーできませんでした。Ctrl+S で保存できます。",
     "The picture could not be copied; Ctrl+S saves it."},
    {"PrintFailed", "印刷できませんでした。", "The picture could not be printed."},
    {"NotABoard", "このファイルには黒板が入っていません。黒板はそのままです。",
     "This file holds no board; the board stays as it is."},
    {"DamagedBoard", "このファイルは壊れていて開けません。黒板はそのままです。",
     "This file is damaged and cannot be opened; the board stays as it is."},
    {"NewerBoard", "この黒板は新しい版で保存されたので開けません。黒板はそのままです。",
     "This board was saved by a newer version and cannot be opened here."},
    {"ReadFailed", "ファイルを読めませんでした。黒板はそのままです。",
     "The file could not be read; the board stays as it is."},
    {"BadLink", "アドレスの図形を読めませんでした。初めの画面で始めます。",
     "The figure in the address could not be read; the window starts as usual."},
    {"KeepRefused", "黒板をとっておけません。このまま使えますが、閉じると消えます。",
     "Boards cannot be kept here: the window works, but its board goes when it is closed."},
}};

constexpr const NoticeText& noticeText(Notice notice) {
    return kNotices[std::size_t(notice)];
}

// The notice of that name, for a shell that names them ("SaveFailed").
constexpr std::optional<Notice> noticeNamed(std::string_view name) {
    for (std::size_t i = 0; i < kNotices.size(); ++i) {
        if (kNotices[i].name == name) {
            return Notice(i);
        }
    }
    return std::nullopt;
}

} // namespace orvanel
