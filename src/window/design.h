// SPDX-License-Identifier: MIT
// The window as it was designed: every control with its name, row index,
// kind, caption, place, size, look and tab number; the board and the light
// objects lying on it. Both shells build their window from these tables.
#pragma once

#include "board/board_layer.h"
#include "figure/figure_state.h"
#include "raster/color.h"
#include "raster/geometry.h"
#include "tools/memo_pen.h"
#include "tools/straight_lines.h"
#include "window/text_measurer.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvanel {

enum class ControlKind { Label, Button, OptionButton, CheckBox };

// How a label's box follows its text.
enum class Sizing {
    Fixed,         // keeps its design box; a larger text is clipped
    ToText,        // fits its text, keeping its left and top edges
    ToWidestValue, // fits the widest read-out value, " 360", keeping its right edge
};

struct Look {
    FontSpec font;
    std::optional<Rgb> background; // none: the platform's standard colour
    std::optional<Rgb> text;       // none: the platform's standard text colour
    bool alignRight = false;
    Sizing sizing = Sizing::Fixed;
};

struct ControlDesign {
    std::string_view name; // the row's name, "Option1"
    int index;             // the member's index in its row; -1 for a single control
    ControlKind kind;
    std::string_view caption; // UTF-8
    Rect box;                 // window pixels
    int tab;                  // place in the tab order
    Look look;
    // What a screen reader calls the control, where the caption alone says
    // too little; empty: the caption.
    std::string_view accessibleName;

    // "Option1_3" for a member of a row, the name alone for a single control.
    std::string objectName() const {
        return index < 0 ? std::string(name) : std::string(name) + '_' + std::to_string(index);
    }
};

inline constexpr std::string_view kWindowCaption = "Orvanel (by m.Quillon)";
inline constexpr Size kWindowSize{917, 687};

// The board `gamen`: its outer box with a sunken two-pixel border around the
// drawing area, and its tab number.
inline constexpr Rect kBoardBox{8, 48, 806, 630};
inline constexpr int kBoardBorder = 2;
inline constexpr int kBoardTab = 1;
// The window's language, as a language tag: what a screen reader is told to
// read its names and announcements in.
inline constexpr std::string_view kLanguage = "ja";
// What a screen reader says of the board when it takes the focus, in the
// window's language: its name, what kind of thing it is (where the shell can
// say so) and how it is worked, whatever else the window shows.
inline constexpr std::string_view kBoardName = "黒板";
inline constexpr std::string_view kBoardRoleDescription = "作図ボード";
inline constexpr std::string_view kBoardDescription =
    "くさび形 ABCD。頂点 A と D をドラッグします。キーでは A か D でその頂点へ移り、"
    "スペースでつかみ、矢印キーで動かし、スペースで離します";
// What a screen reader is told as the keys work the board: Space pressed on
// a vertex ("頂点 D" and this), pressed elsewhere, and let go. Parts told
// together are joined into one utterance by kUtteranceBreak.
inline constexpr std::string_view kVertexTakenText = " をつかみました";
inline constexpr std::string_view kButtonPressedText = "押しました";
inline constexpr std::string_view kButtonLetGoText = "離しました";
inline constexpr std::string_view kUtteranceBreak = "。";

namespace looks {

inline constexpr Look kButton{{Face::Gothic, 12}, {}, {}};
inline constexpr Look kBox{{}, kWindowColor, {}}; // check boxes and option buttons
inline constexpr Look kTitle{
    {Face::Gothic, 24, true}, kBoardGreen, rgb(0, 255, 0), false, Sizing::ToText};
inline constexpr Look kAngleName{
    {Face::Gothic, 20.25}, kWindowColor, rgb(64, 64, 64), false, Sizing::ToText};
inline constexpr Look kAngleNameD{
    {Face::Gothic, 20.25}, kWindowColor, rgb(255, 0, 0), false, Sizing::ToText};
inline constexpr Look kPenRowName{{}, kWindowColor, {}, false, Sizing::ToText};
inline constexpr Look kAngleValue{
    {Face::Gothic, 27.75}, kWindowColor, {}, true, Sizing::ToWidestValue};
inline constexpr Look kDegreeSign{{Face::Gothic, 20.25, true}, kWindowColor, {}};

} // namespace looks

// The controls standing directly on the window, in the order of the design.
inline constexpr auto kControls = std::to_array<ControlDesign>({
    {"Label1", -1, ControlKind::Label, "くさび形の角", {8, 8, 177, 33}, 0, looks::kTitle, {}},
    {"Command5", -1, ControlKind::Button, "直線", {232, 8, 57, 33}, 19, looks::kButton, {}},
    {"Option2", 0, ControlKind::OptionButton, "赤", {296, 8, 33, 17}, 25, looks::kBox, {}},
    {"Option2", 1, ControlKind::OptionButton, "黄", {336, 8, 33, 17}, 26, looks::kBox, {}},
    {"Option2", 2, ControlKind::OptionButton, "青", {376, 8, 33, 17}, 27, looks::kBox, {}},
    {"Option2", 3, ControlKind::OptionButton, "白", {416, 8, 33, 17}, 28, looks::kBox, {}},
    {"Check1", 0, ControlKind::CheckBox, "1", {296, 24, 25, 17}, 20, looks::kBox, "直線 1"},
    {"Check1", 1, ControlKind::CheckBox, "2", {328, 24, 25, 17}, 21, looks::kBox, "直線 2"},
    {"Check1", 2, ControlKind::CheckBox, "3", {360, 24, 25, 17}, 22, looks::kBox, "直線 3"},
    {"Check1", 3, ControlKind::CheckBox, "4", {392, 24, 25, 17}, 23, looks::kBox, "直線 4"},
    {"Check1", 4, ControlKind::CheckBox, "5", {424, 24, 25, 17}, 24, looks::kBox, "直線 5"},
    {"Command3", -1, ControlKind::Button, "メモ", {464, 8, 57, 33}, 7, looks::kButton, {}},
    {"Label4", 0, ControlKind::Label, "太字", {528, 10, 24, 12}, 12, looks::kPenRowName, {}},
    {"Label4", 1, ControlKind::Label, "細字", {528, 27, 24, 12}, 13, looks::kPenRowName, {}},
    {"Option1", 4, ControlKind::OptionButton, "赤", {560, 8, 57, 17}, 14, looks::kBox, {}},
    {"Option1", 5, ControlKind::OptionButton, "黄", {600, 8, 57, 17}, 15, looks::kBox, {}},
    {"Option1", 6, ControlKind::OptionButton, "青", {640, 8, 57, 17}, 16, looks::kBox, {}},
    {"Option1", 7, ControlKind::OptionButton, "消しゴム", {680, 8, 81, 17}, 17, looks::kBox, {}},
    {"Option1", 0, ControlKind::OptionButton, "赤", {560, 24, 57, 17}, 8, looks::kBox, {}},
    {"Option1", 1, ControlKind::OptionButton, "黄", {600, 24, 57, 17}, 9, looks::kBox, {}},
    {"Option1", 2, ControlKind::OptionButton, "青", {640, 24, 57, 17}, 10, looks::kBox, {}},
    {"Option1", 3, ControlKind::OptionButton, "消しゴム", {680, 24, 81, 17}, 11, looks::kBox, {}},
    {"Command1", -1, ControlKind::Button, "初期画面", {824, 8, 81, 33}, 2, looks::kButton, {}},
    {"Command4", -1, ControlKind::Button, "方眼", {840, 64, 65, 33}, 18, looks::kButton, {}},
    {"Label3", 0, ControlKind::Label, "∠Ａ =", {824, 152, 68, 27}, 30, looks::kAngleName, {}},
    {"Label5", 0, ControlKind::Label, "33", {856, 184, 38, 37}, 34, looks::kAngleValue, {}},
    {"Label6", 0, ControlKind::Label, "°", {896, 184, 9, 17}, 40, looks::kDegreeSign, {}},
    {"Label3", 1, ControlKind::Label, "∠Ｂ =", {824, 232, 70, 27}, 31, looks::kAngleName, {}},
    {"Label5", 1, ControlKind::Label, "33", {856, 264, 38, 37}, 35, looks::kAngleValue, {}},
    {"Label6", 1, ControlKind::Label, "°", {896, 264, 17, 17}, 41, looks::kDegreeSign, {}},
    {"Label3", 2, ControlKind::Label, "∠Ｃ =", {824, 312, 69, 27}, 32, looks::kAngleName, {}},
    {"Label5", 2, ControlKind::Label, "33", {856, 344, 38, 37}, 36, looks::kAngleValue, {}},
    {"Label6", 2, ControlKind::Label, "°", {896, 344, 9, 17}, 42, looks::kDegreeSign, {}},
    {"Label3", 3, ControlKind::Label, "∠Ｄ =", {824, 392, 69, 27}, 33, looks::kAngleNameD, {}},
    {"Label5", 3, ControlKind::Label, "33", {856, 424, 38, 37}, 37, looks::kAngleValue, {}},
    {"Label6", 3, ControlKind::Label, "°", {896, 424, 9, 17}, 43, looks::kDegreeSign, {}},
    {"Check2", -1, ControlKind::CheckBox, "angle", {840, 488, 65, 25}, 38, looks::kBox, {}},
    {"Check3", -1, ControlKind::CheckBox, "nonClear", {840, 528, 73, 25}, 39, looks::kBox, {}},
    {"Command2", -1, ControlKind::Button, "終了", {824, 640, 81, 33}, 3, looks::kButton, {}},
});

inline constexpr std::size_t kControlCount = kControls.size();

// A control of the window: its place in kControls.
enum class ControlId : std::uint8_t {};

constexpr std::size_t indexOf(ControlId id) {
    return std::size_t(id);
}

// The control named `name` (with its index in the row, for a member of one).
// Used in constant expressions, so a name missing from the design does not
// compile.
constexpr ControlId controlId(std::string_view name, int index = -1) {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].name == name && kControls[i].index == index) {
            return ControlId(i);
        }
    }
    throw "no control of that name in the design";
}

// The members 0 to N - 1 of the row `name`; the design must hold exactly these.
template <std::size_t N> constexpr std::array<ControlId, N> controlRow(std::string_view name) {
    std::array<ControlId, N> row{};
    std::size_t found = 0;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].name == name) {
            if (kControls[i].index < 0 || std::size_t(kControls[i].index) >= N) {
                throw "the row has a member beyond its length";
            }
            row[std::size_t(kControls[i].index)] = ControlId(i);
            ++found;
        }
    }
    if (found != N) {
        throw "the row's length differs from the design";
    }
    return row;
}

// The member's index in `row`, or -1 when `id` is not one of its members.
template <std::size_t N> constexpr int indexIn(const std::array<ControlId, N>& row, ControlId id) {
    for (std::size_t i = 0; i < N; ++i) {
        if (row[i] == id) {
            return int(i);
        }
    }
    return -1;
}

// A stop of the Tab key: a control, or the board when empty.
using TabStop = std::optional<ControlId>;

// The board and every control in the order of their tab numbers. Labels keep
// their place in it although they take no focus.
constexpr std::array<TabStop, kControlCount + 1> tabOrder() {
    const auto tab = [](const TabStop& stop) {
        return stop ? kControls[indexOf(*stop)].tab : kBoardTab;
    };
    std::array<TabStop, kControlCount + 1> order{}; // the board first
    for (std::size_t i = 0; i < kControlCount; ++i) {
        std::size_t j = i + 1;
        order[j] = ControlId(i);
        for (; j > 0 && tab(order[j - 1]) > tab(order[j]); --j) {
            const TabStop before = order[j - 1];
            order[j - 1] = order[j];
            order[j] = before;
        }
    }
    return order;
}
inline constexpr auto kTabOrder = tabOrder();

// The controls by their design names.
namespace controls {

inline constexpr ControlId Label1 = controlId("Label1"); // the title "くさび形の角"
// "∠Ａ =" ... "∠Ｄ =": the names of the read-out lines
inline constexpr auto Label3 = controlRow<kVertexCount>("Label3");
// "太字", "細字": the captions of the bold and the thin pen rows
inline constexpr auto Label4 = controlRow<2>("Label4");
// the read-out: the angles at A, B, C and D in whole degrees (" 41")
inline constexpr auto Label5 = controlRow<kVertexCount>("Label5");
// "°" after each read-out value, clipped to its box
inline constexpr auto Label6 = controlRow<kVertexCount>("Label6");
inline constexpr ControlId Command1 = controlId("Command1"); // "初期画面": back to the start
inline constexpr ControlId Command2 = controlId("Command2"); // "終了": ends the program
inline constexpr ControlId Command3 = controlId("Command3"); // "メモ": the memo pen on and off
inline constexpr ControlId Command4 = controlId("Command4"); // "方眼": the grid on and off
inline constexpr ControlId Command5 = controlId("Command5"); // "直線": the line tool on and off
// "1" to "5": ticked while the straight line of that number is taken
inline constexpr auto Check1 = controlRow<kLineCount>("Check1");
inline constexpr ControlId Check2 = controlId("Check2"); // "angle": shows the read-out
// "nonClear": keeps earlier drawings while dragging
inline constexpr ControlId Check3 = controlId("Check3");
// the memo pens: thin red, yellow, blue, eraser, then the same in bold
inline constexpr auto Option1 = controlRow<kPens.size()>("Option1");
// the colour of the next straight line: red, yellow, blue, white
inline constexpr auto Option2 = controlRow<kLineColors.size()>("Option2");

} // namespace controls

// Option buttons a screen reader presents as one named group each, as the
// window shows them in rows: the captions "赤", "黄", "青" recur, the row
// says which pen or line they choose.
struct GroupDesign {
    std::string_view name;
    std::array<ControlId, 4> members;
};
inline constexpr auto kGroups = std::to_array<GroupDesign>({
    {"直線の色", controls::Option2},
    {"太字",
     {controls::Option1[4], controls::Option1[5], controls::Option1[6], controls::Option1[7]}},
    {"細字",
     {controls::Option1[0], controls::Option1[1], controls::Option1[2], controls::Option1[3]}},
});
// The read-out, as a screen reader presents it: one line an angle.
inline constexpr std::string_view kReadoutName = "角の大きさ";

// The vertex letters Label2(0..3) on the board: their captions, design
// places in board pixels and what a screen reader calls them. They are white
// on the board's green, in a bold Mincho, each in a box that fits its letter.
struct LetterDesign {
    std::string_view caption;
    PointF place;
    std::string_view accessibleName;
};
inline constexpr std::array<LetterDesign, kVertexCount> kLetters{{
    {"Ａ", {616, 208}, "頂点 A"},
    {"Ｂ", {664, 208}, "頂点 B"},
    {"Ｃ", {712, 208}, "頂点 C"},
    {"D", {760, 208}, "頂点 D"},
}};
inline constexpr FontSpec kLetterFont{Face::Mincho, 21.75, true};
inline constexpr Rgb kLetterText = paletteColor(kPaletteWhite);
inline constexpr Rgb kLetterBackground = kBoardGreen;

// The light objects of the board at design time, letters unsized. Line2 and
// Line3 hold only their first member; start-up builds the rest.
BoardLayer designBoardLayer();

} // namespace orvanel
