// SPDX-License-Identifier: MIT
#include "window/form1.h"

#include "board/board_compose.h"
#include "figure/angles.h"
#include "figure/draw_figure.h"
#include "tools/grid.h"
#include "window/figure_link.h"

#include <tuple>

namespace orvanel {

using namespace controls;

Form1::Form1(const TextMeasurer& measurer) : layer_(designBoardLayer()) {
    buildControls(measurer);
    Form_Load();
}

void Form1::buildControls(const TextMeasurer& measurer) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlDesign& d = kControls[i];
        ControlState& c = controls_[i];
        c.caption = d.caption;
        c.box = d.box;
        switch (d.look.sizing) {
        case Sizing::Fixed:
            break;
        case Sizing::ToText: {
            const Size size = measurer.textSize(d.look.font, d.caption);
            c.box.width = size.width;
            c.box.height = size.height;
            break;
        }
        case Sizing::ToWidestValue: {
            // Fixed at the size of the widest value: on the window's own
            // background that looks the same as a box sized to each value,
            // and a new value then needs no new layout.
            const Size size = measurer.textSize(d.look.font, angleCaption(360));
            c.box = {d.box.right() + 1 - size.width, d.box.top, size.width, size.height};
            break;
        }
        }
    }
    changed_.set();
    for (int i = 0; i < kVertexCount; ++i) {
        captionValues_[i] = captionValue(control(Label5[i]).caption);
        layer_.setLetterSize(i, measurer.textSize(kLetterFont, layer_.letter(i).caption));
    }
}

void Form1::click(ControlId id) {
    const ControlState& c = control(id);
    if (!c.enabled || !c.visible) {
        return;
    }
    static constexpr std::array<std::pair<ControlId, void (Form1::*)()>, 5> kButtonHandlers{{
        {Command1, &Form1::Command1_Click},
        {Command2, &Form1::Command2_Click},
        {Command3, &Form1::Command3_Click},
        {Command4, &Form1::Command4_Click},
        {Command5, &Form1::Command5_Click},
    }};
    switch (design(id).kind) {
    case ControlKind::Button:
        for (const auto& [button, handler] : kButtonHandlers) {
            if (button == id) {
                (this->*handler)();
            }
        }
        break;
    case ControlKind::CheckBox:
        setChecked(id, !c.checked);
        break;
    case ControlKind::OptionButton:
        select(id);
        break;
    case ControlKind::Label:
        break;
    }
}

void Form1::setChecked(ControlId box, bool checked) {
    if (control(box).checked != checked) {
        edit(box).checked = checked;
        runValueHandler(box);
    }
}

// The option buttons of Option1 and Option2 are one group: selecting one clears the others.
void Form1::select(ControlId option) {
    if (control(option).checked) {
        return;
    }
    for (const std::span<const ControlId> row :
         {std::span<const ControlId>(Option1), std::span<const ControlId>(Option2)}) {
        for (const ControlId other : row) {
            if (control(other).checked) {
                edit(other).checked = false;
            }
        }
    }
    edit(option).checked = true;
    runValueHandler(option);
}

void Form1::runValueHandler(ControlId id) {
    if (id == Check2) {
        Check2_Click();
    } else if (const int i = indexIn(Check1, id); i >= 0) {
        Check1_Click(i);
    } else if (const int i = indexIn(Option1, id); i >= 0) {
        Option1_Click(i);
    } else if (const int i = indexIn(Option2, id); i >= 0) {
        Option2_Click(i);
    }
    // Check3 "nonClear" has no handler: the drag step reads its tick.
}

void Form1::setEnabled(ControlId id, bool enabled) {
    if (control(id).enabled != enabled) {
        edit(id).enabled = enabled;
    }
}

void Form1::setVisible(ControlId id, bool visible) {
    if (control(id).visible != visible) {
        edit(id).visible = visible;
    }
}

void Form1::setCaptionBold(ControlId button, bool bold) {
    if (control(button).bold != bold) {
        edit(button).bold = bold;
    }
}

void Form1::setRowEnabled(std::span<const ControlId> row, bool enabled) {
    for (const ControlId id : row) {
        setEnabled(id, enabled);
    }
}

int Form1::letterAt(PointF p) const {
    for (int i = int(layer_.letters().size()) - 1; i >= 0; --i) {
        if (RectF::of(layer_.letter(i).box()).contains(p)) {
            return i;
        }
    }
    return -1;
}

void Form1::composeBoard(PixelView target, Rect area, BoardScale scale) const {
    orvanel::composeBoard(surface_, layer_, scale, target, area);
}

Form1::Snapshot Form1::snapshot() const {
    return {controls_, v_, layer_, captionValues_, shownAngles_, dragAnchor_, surface_.lineWidth()};
}

void Form1::restore(const Snapshot& s) {
    controls_ = s.controls;
    v_ = s.v;
    layer_ = s.layer;
    captionValues_ = s.captionValues;
    shownAngles_ = s.shownAngles;
    dragAnchor_ = s.dragAnchor;
    surface_.setLineWidth(s.lineWidth);
    letterHoldsPointer_ = false;
    changed_.set();
    boardDamage_.add(surface_.rect());
}

void Form1::restoreBoardPixels(const Rect& area, const PixelBuffer& picture) {
    surface_.copyFrom(picture, area);
}

bool Form1::Snapshot::looksLike(const Snapshot& o) const {
    const auto tools = [](const WindowState& w) {
        return std::tuple(w.anglesShown, w.memoOn, w.penColorIndex, w.lineMode, w.nextLineNumber,
                          w.lineColorIndex, w.gridShown);
    };
    return controls == o.controls && v.figure == o.v.figure && tools(v) == tools(o.v) &&
           layer.sameObjects(o.layer) && lineWidth == o.lineWidth;
}

std::size_t Form1::Snapshot::bytes() const {
    std::size_t total = sizeof(Snapshot);
    const std::size_t inPlace = std::string().capacity(); // held within the string itself
    for (const ControlState& c : controls) {
        total += c.caption.capacity() > inPlace ? c.caption.capacity() + 1 : 0;
    }
    for (const LineRow row : BoardLayer::kPaintOrder) {
        total += layer.row(row).size() * sizeof(LineObject);
    }
    for (const LetterObject& l : layer.letters()) {
        total +=
            sizeof(LetterObject) + (l.caption.capacity() > inPlace ? l.caption.capacity() + 1 : 0);
    }
    return total;
}

void Form1::Form_Load() {
    caption_ = kWindowCaption;
    // The window and the board measure in pixels throughout.
    surface_.setLineWidth(kStartLineWidth);
    buildGrid(layer_);
    for (int i = 0; i < kVertexCount; ++i) {
        setVisible(Label3[i], false);
        setVisible(Label5[i], false);
        setVisible(Label6[i], false);
    }
    v_.anglesShown = 0;
    v_.penColorIndex = kPaletteRed;
    v_.lineColorIndex = kPaletteWhite;
    select(Option1[kFirstPen]);
    select(Option2[kWhiteLineOption]);
    InitialScreen();
}

void Form1::InitialScreen() {
    endGestures();
    surface_.setLineWidth(kStartLineWidth);
    surface_.clear();
    layer_.setCursorCircleVisible(false);
    setCaptionBold(Command4, false);
    setRowEnabled(Option1, false);
    setRowEnabled(Option2, false);
    for (const ControlId box : Check1) {
        setChecked(box, false); // parks the line of every box that was ticked
    }
    setCaptionBold(Command3, false);
    setCaptionBold(Command4, false); // a second time, as the reset always did: no effect
    setCaptionBold(Command5, false);
    v_.memoOn = 0;
    v_.lineMode = 0;
    v_.nextLineNumber = 0;
    v_.dragVertex = kNoVertex;
    v_.gridShown = 0;
    setGridVisible(layer_, false);
    v_.figure = FigureState{};
    MeasureAngles();
    DrawFigure();
    placeSidesAndLetters(v_.figure, layer_);
    for (int i = 0; i < kLineCount; ++i) {
        layer_.setX(LineRow::Line4, i, kParkedX, kParkedX);
    }
}

void Form1::openLink(const FigureLink& link) {
    InitialScreen();
    v_.figure.xA = link.a.x;
    v_.figure.yA = link.a.y;
    v_.figure.xD = link.d.x;
    v_.figure.yD = float(link.d.y);
    surface_.clear();
    MeasureAngles();
    DrawFigure();
    placeSidesAndLetters(v_.figure, layer_);
    setChecked(Check2, link.angle);
    setChecked(Check3, link.nonClear);
    if ((v_.gridShown == 1) != link.grid) {
        Command4_Click();
    }
    for (int k = 0; k < kLineCount; ++k) {
        if (const auto& l = link.lines[std::size_t(k)]) {
            layer_.setColor(LineRow::Line4, k,
                            paletteColor(kLineColors[std::size_t(l->colorOption)]));
            layer_.setEnds(LineRow::Line4, k, l->p1, l->p2);
            setChecked(Check1[k], true);
        }
    }
}

void Form1::setAngleCaption(int index, int value) {
    if (shownAngles_[index] == value) {
        return;
    }
    shownAngles_[index] = value;
    edit(Label5[index]).caption = angleCaption(value);
    captionValues_[index] = value; // what the caption reads as a number
}

void Form1::MeasureAngles() {
    const std::array<int, kVertexCount> shown = measureAngles(v_.figure, v_.dirs);
    for (int i = 0; i < kVertexCount; ++i) {
        setAngleCaption(i, shown[i]);
    }
}

void Form1::DrawFigure() {
    drawFigure(surface_, v_.figure, v_.dirs, captionValues_[1], captionValues_[2]);
}

void Form1::Check2_Click() {
    const bool show = v_.anglesShown == 0;
    for (int i = 0; i < kVertexCount; ++i) {
        setVisible(Label3[i], show);
        setVisible(Label5[i], show);
        setVisible(Label6[i], show);
    }
    if (show) {
        MeasureAngles();
    }
    v_.anglesShown = show ? 1 : 0;
}

void Form1::Command1_Click() {
    InitialScreen();
}

void Form1::Command2_Click() {
    // The program ends at once: nothing to ask, nothing to save.
    ended_ = true;
}

} // namespace orvanel
