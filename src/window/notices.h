// SPDX-License-Identifier: MIT
// What the program tells the user when something it was asked to do did not
// happen, in the window's language first and in English beneath it. Both
// shells show these texts, and only these, so that a failure reads the same
// wherever it happens.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace orvanel {

enum class Notice {
    SaveFailed,  // the picture could not be written
    CopyFailed,  // the system refused the picture on its clipboard
    PrintFailed, // the printer (or the file printed to) refused the picture
};

struct NoticeText {
    std::string_view name; // the notice's name for a shell without the enum
    std::string_view japanese;
    std::string_view english;
};

inline constexpr std::array<NoticeText, 3> kNotices{{
    {"SaveFailed", "画像を保存できませんでした。", "The picture could not be saved."},
    {"CopyFailed", "画像をコピーできませんでした。Ctrl+S で保存できます。",
     "The picture could not be copied; Ctrl+S saves it."},
    {"PrintFailed", "印刷できませんでした。", "The picture could not be printed."},
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
