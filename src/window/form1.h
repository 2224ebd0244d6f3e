// SPDX-License-Identifier: MIT
// Form1, the program's one window, as a model that needs no toolkit: every
// control of the design with its state, the board's surface and light
// objects, the window's variables, start-up, and the handlers that the
// controls' events reach. A shell builds its widgets from it, hands it the
// user's clicks and pointer events, and shows what it reports as changed.
// The handlers of the board tools' buttons, boxes and option buttons are in
// window/tool_buttons.cpp, the board's pointer handlers and the drag step in
// window/board_pointer.cpp.
#pragma once

#include "board/board_compose.h"
#include "board/board_layer.h"
#include "board/damage_list.h"
#include "figure/dragging.h"
#include "raster/pixel_buffer.h"
#include "raster/raster_surface.h"
#include "window/design.h"
#include "window/text_measurer.h"
#include "window/window_state.h"

#include <array>
#include <bitset>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvanel {

struct FigureLink;

// Button codes of the pointer handlers; a set of held buttons is their sum.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// What a control shows and how it can be used.
struct ControlState {
    std::string caption;  // UTF-8
    Rect box;             // window pixels
    bool bold = false;    // a tool button's caption while its tool is on
    bool checked = false; // a ticked box, a selected option button
    bool enabled = true;
    bool visible = true;

    friend bool operator==(const ControlState&, const ControlState&) = default;
};

class Form1 {
public:
    // Builds the designed controls and runs Form_Load. `measurer` sizes the
    // labels that fit their text and the vertex letters' boxes.
    explicit Form1(const TextMeasurer& measurer);

    // The window's caption, and whether "終了" has ended the program: the
    // shell then closes the window at once.
    const std::string& caption() const { return caption_; }
    bool ended() const { return ended_; }

    static const ControlDesign& design(ControlId id) { return kControls[indexOf(id)]; }
    const ControlState& control(ControlId id) const { return controls_[indexOf(id)]; }

    // A user's click on a control: a button runs its handler, a check box
    // changes its tick, an option button is selected; each runs its handler
    // when its value changes. A disabled or hidden control takes no click.
    void click(ControlId id);

    // Calls visit(ControlId) for every control whose state changed since the
    // last call, in the order of the design, then forgets them.
    template <typename Visit> void takeChangedControls(Visit visit) {
        for (std::size_t i = 0; i < kControlCount; ++i) {
            if (changed_[i]) {
                visit(ControlId(i));
            }
        }
        changed_.reset();
    }

    const RasterSurface& surface() const { return surface_; }
    const BoardLayer& layer() const { return layer_; }
    // The letter whose box holds board point p, the one shown on top first;
    // -1 when none does.
    int letterAt(PointF p) const;
    // Calls visit(Rect) for each board rectangle that changed since the last
    // call, surface and light objects alike, then forgets them. They are few:
    // a shell pays for each rectangle it repaints, besides its pixels.
    template <typename Visit> void takeDamage(Visit visit) {
        gatherDamage();
        boardDamage_.take(visit);
    }
    // The same, handed to the list `into`.
    void takeDamageInto(DamageList<8>& into) {
        gatherDamage();
        boardDamage_.takeInto(into);
    }
    // Marks `area` of the board for repainting, for what a shell shows above
    // the board's own light objects.
    void damageBoard(const Rect& area) { boardDamage_.add(area); }
    // The board as shown at `scale`, letters aside, over device pixels
    // `area` into `target`, whose pixel (0, 0) is the board's.
    void composeBoard(PixelView target, Rect area, BoardScale scale = {}) const;

    // The pointer on the board, as the shell receives it: the button pressed
    // or released, the buttons held after the event, the modifier keys held
    // (1 shift, 2 control, 4 alt; no handler reads them) and the position in
    // board pixels. A press on a vertex letter belongs to the letter, which
    // does nothing with it: that press and everything until all buttons are
    // up again stay away from the board's handlers.
    void boardPress(int button, int held, int modifiers, float x, float y);
    void boardMove(int held, int modifiers, float x, float y);
    void boardRelease(int button, int held, int modifiers, float x, float y);
    // The pointer was taken away without a release (the system took a touch
    // over for a gesture of its own, the board lost the pointer): each button
    // still held is released, one by one, where the pointer last was.
    void boardCancel();

    // Puts the window as a link describes it: the initial screen, A and D
    // where the link has them with the marks and read-out measured there,
    // the boxes and the grid as it says, its lines placed and their boxes
    // ticked.
    void openLink(const FigureLink& link);

    // Everything the handlers keep between events, the board's pixels aside:
    // what undo and redo put back.
    struct Snapshot {
        std::array<ControlState, kControlCount> controls;
        WindowState v;
        BoardLayer layer;
        std::array<double, kVertexCount> captionValues;
        std::array<std::optional<int>, kVertexCount> shownAngles;
        DragAnchor dragAnchor;
        int lineWidth;

        // Whether the two would show the same window: what only a gesture in
        // progress holds (the pointer's last place, a held vertex) and where
        // the hidden cursor circle lies do not count.
        bool looksLike(const Snapshot& other) const;
        // The memory it takes, what its captions and objects hold included.
        std::size_t bytes() const;
        friend bool operator==(const Snapshot&, const Snapshot&) = default;
    };
    Snapshot snapshot() const;
    // The same as if every button held on the board had been let go: what a
    // saved board carries, whenever it is saved.
    Snapshot snapshotAtRest() const;
    // Puts the window back as `s` had it; every control and the whole board
    // are reported as changed.
    void restore(const Snapshot& s);
    // Copies the board pixels of `area` from `picture`, a picture of the whole
    // board.
    void restoreBoardPixels(const Rect& area, const PixelBuffer& picture);

    const WindowState& state() const { return v_; }

private:
    // The surface's and the light objects' damage, gathered in boardDamage_.
    void gatherDamage() {
        const auto add = [this](const Rect& r) { boardDamage_.add(r); };
        surface_.takeDamage(add);
        layer_.takeDamage(add);
    }
    // Handlers of the controls' events, reached through click() and the
    // board's pointer events.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Check1_Click(int index);
    void Check2_Click();
    void Option1_Click(int index);
    void Option2_Click(int index);
    void gamen_MouseDown(int button, int shift, float x, float y);
    void gamen_MouseMove(int button, int shift, float x, float y);
    void gamen_MouseUp(int button, int shift, float x, float y);

    // Routines of the window.
    void Form_Load();
    void InitialScreen();
    void MeasureAngles();
    void DrawFigure();

    void buildControls(const TextMeasurer& measurer);

    ControlState& edit(ControlId id) {
        changed_.set(indexOf(id));
        return controls_[indexOf(id)];
    }
    // Setting a check box's tick or selecting an option button from the
    // program runs its click handler at once, nested, when the value changes.
    void setChecked(ControlId box, bool checked);
    void select(ControlId option);
    void runValueHandler(ControlId id);
    void setEnabled(ControlId id, bool enabled);
    void setVisible(ControlId id, bool visible);
    // A tool button shows its caption bold while its tool is on.
    void setCaptionBold(ControlId button, bool bold);
    void setRowEnabled(std::span<const ControlId> row, bool enabled);
    void setAngleCaption(int index, int value);

    void switchLineToolOff();
    // Ends whatever the pointer was doing on the board: a drag, a stroke, a
    // line being stretched. With the mouse alone, a tool is switched or the
    // board reset only after a release; from the keyboard it can happen while
    // a button is still held on the board, and the held vertex, pen or
    // unfinished line must not outlive the tool that had it.
    void endGestures();
    static void endGestures(WindowState& v, BoardLayer& layer,
                            const std::array<ControlState, kControlCount>& controls);
    void dragStep(float x, float y);
    void startLine(float x, float y);
    void finishLine(float x, float y);
    std::array<bool, kLineCount> tickedLineBoxes() const;

    std::string caption_;
    bool ended_ = false;
    std::array<ControlState, kControlCount> controls_;
    std::bitset<kControlCount> changed_;

    WindowState v_;
    RasterSurface surface_;
    BoardLayer layer_;
    DamageList<8> boardDamage_;
    std::array<double, kVertexCount> captionValues_{}; // Label5 captions read as numbers
    std::array<std::optional<int>, kVertexCount>
        shownAngles_; // the values they show, none at first
    DragAnchor dragAnchor_;
    int held_ = 0; // the buttons held on the board
    bool letterHoldsPointer_ = false;
};

} // namespace orvanel
