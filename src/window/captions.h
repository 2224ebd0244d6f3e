// SPDX-License-Identifier: MIT
// The captions of what the program shows around the window it was designed
// as: the chooser of boards to open, the line that says where the last
// board is, the screen after "終了" in a browser. Each in the window's
// language and in English, for the shells to show together (the Japanese
// first); both shells take them from here.
#pragma once

#include <string_view>

namespace orvanel {

struct Caption {
    std::string_view japanese;
    std::string_view english;
};

namespace captions {

// The chooser that Ctrl+O opens: the boards kept, newest first, and any file.
inline constexpr Caption kOpenTitle{"黒板を開く", "Open a board"};
inline constexpr Caption kKeptBoards{"とっておいた黒板", "Kept boards"};
inline constexpr Caption kNoKeptBoards{"とっておいた黒板はありません。", "No boards are kept."};
inline constexpr Caption kOpen{"開く", "Open"};
inline constexpr Caption kOpenFile{"ファイルを開く…", "Open a file…"};
inline constexpr Caption kForgetKept{"とっておいた黒板を消す", "Forget the kept boards"};
inline constexpr Caption kCancel{"キャンセル", "Cancel"};

// Said once where there is room beside the window, and the desktop's menu
// action that opens the last board.
inline constexpr Caption kLastBoardHint{"Ctrl+O で前回の黒板を開けます。",
                                        "Ctrl+O opens the last board again."};
inline constexpr Caption kOpenLastBoard{"前回のボードを開く", "Open the last board"};

// The page after "終了", where the browser keeps the tab open.
inline constexpr Caption kEnded{"プログラムを終了しました。", "The program has ended."};
inline constexpr Caption kStartAgain{"もう一度始める", "Start again"};

} // namespace captions

// How many kept boards a shell keeps at least: the newest, by the time they
// were last changed.
inline constexpr int kKeptBoards = 10;

} // namespace orvanel
