// The window as it was designed: every control with its name, row index, kind,
// caption, place, size and tab number, and the light objects on the board.
#pragma once

#include "platform/board_layer.h"

#include <span>

namespace orvanel {

enum class ControlKind { Label, Button, OptionButton, CheckBox };

struct ControlDesign {
    const char* name;
    int index; // -1 for a control that is not in a row
    ControlKind kind;
    const char16_t* caption;
    int left, top, width, height;
    int tab;
};

inline constexpr int kWindowWidth = 917;
inline constexpr int kWindowHeight = 687;
inline constexpr int kBoardLeft = 8;
inline constexpr int kBoardTop = 48;
inline constexpr int kBoardTab = 1;
inline constexpr int kLetterTabs[4] = {4, 5, 6, 29};

// The controls standing directly on the window, in the order of the design.
std::span<const ControlDesign> windowControls();

// The light objects of the board at design time. Line2 and Line3 hold only
// their first member; start-up builds the rest.
BoardLayer designBoardLayer();

} // namespace orvanel
