// SPDX-License-Identifier: MIT
// The browser edition's JavaScript surface: the window model, its design and
// the board's picture, translated to plain JavaScript values. Nothing here
// decides anything; the page shows what the model says and hands it the
// user's clicks and pointer events.
#include "window/board_screen.h"
#include "window/design.h"
#include "window/form1.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdio>
#include <string>

using emscripten::val;

namespace orvanel {

namespace {

val cssColor(std::optional<Rgb> color) {
    if (!color) {
        return val::null();
    }
    char text[24];
    std::snprintf(text, sizeof text, "rgb(%d, %d, %d)", redOf(*color), greenOf(*color),
                  blueOf(*color));
    return val(std::string(text));
}

const char* faceName(Face face) {
    switch (face) {
    case Face::Gothic:
        return "gothic";
    case Face::Mincho:
        return "mincho";
    case Face::Default:
        break;
    }
    return "default";
}

val font(const FontSpec& design) {
    val f = val::object();
    f.set("face", std::string(faceName(design.face)));
    f.set("points", design.points);
    f.set("bold", design.bold);
    return f;
}

val box(const Rect& r) {
    val b = val::object();
    b.set("left", r.left);
    b.set("top", r.top);
    b.set("width", r.width);
    b.set("height", r.height);
    return b;
}

const char* kindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button:
        return "button";
    case ControlKind::OptionButton:
        return "option";
    case ControlKind::CheckBox:
        return "checkbox";
    case ControlKind::Label:
        break;
    }
    return "label";
}

// The design of the window and of every control, by control id.
val design() {
    val controls = val::array();
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlDesign& d = kControls[i];
        val c = val::object();
        c.set("id", int(i));
        c.set("name", std::string(d.name));
        c.set("index", d.index);
        c.set("objectName", d.objectName());
        c.set("kind", std::string(kindName(d.kind)));
        c.set("caption", std::string(d.caption));
        c.set("box", box(d.box));
        c.set("tab", d.tab);
        c.set("font", font(d.look.font));
        c.set("background", cssColor(d.look.background));
        c.set("color", cssColor(d.look.text));
        c.set("alignRight", d.look.alignRight);
        c.set("clipped", d.look.sizing == Sizing::Fixed && d.kind == ControlKind::Label);
        c.set("description", std::string(d.description));
        controls.call<void>("push", c);
    }
    val window = val::object();
    window.set("caption", std::string(kWindowCaption));
    window.set("width", kWindowSize.width);
    window.set("height", kWindowSize.height);
    window.set("background", cssColor(kWindowColor));
    window.set("board", box(kBoardBox));
    window.set("boardBorder", kBoardBorder);
    window.set("boardTab", kBoardTab);
    window.set("boardBackground", cssColor(kBoardGreen));
    window.set("letterFont", font(kLetterFont));
    window.set("letterColor", cssColor(kLetterText));
    window.set("letterBackground", cssColor(kLetterBackground));
    window.set("controls", controls);
    return window;
}

// What a screen reader calls the board and the vertex letter `i`.
std::string boardName() {
    return std::string(kBoardName);
}
std::string boardDescription() {
    return std::string(kBoardDescription);
}
std::string vertexName(int i) {
    return std::string(kLetters.at(std::size_t(i)).accessibleName);
}

// The control ids in the order of the Tab key, -1 standing for the board.
val tabOrderIds() {
    val ids = val::array();
    for (const TabStop& stop : kTabOrder) {
        ids.call<void>("push", stop ? int(indexOf(*stop)) : -1);
    }
    return ids;
}

// The size in whole pixels of a font of the design, as design() gives it.
int fontPixelsOf(const val& font) {
    const bool defaultFace = font["face"].as<std::string>() == faceName(Face::Default);
    return orvanel::fontPixels(
        {defaultFace ? Face::Default : Face::Gothic, font["points"].as<double>()});
}

// Asks the page how large a caption is in a font of the design.
class PageMeasurer : public TextMeasurer {
public:
    explicit PageMeasurer(val measure) : measure_(std::move(measure)) {}
    Size textSize(const FontSpec& design, std::string_view text) const override {
        const val size = measure_(font(design), std::string(text));
        return {size["width"].as<int>(), size["height"].as<int>()};
    }

private:
    val measure_;
};

// The window and the picture of its board.
class WebWindow {
public:
    explicit WebWindow(val measure) : measurer_(std::move(measure)), w_(measurer_), screen_(w_) {}

    std::string caption() const { return w_.caption(); }
    bool ended() const { return w_.ended(); }

    val control(int id) const {
        const ControlState& s = w_.control(ControlId(id));
        val c = val::object();
        c.set("caption", s.caption);
        c.set("box", box(s.box));
        c.set("bold", s.bold);
        c.set("checked", s.checked);
        c.set("enabled", s.enabled);
        c.set("visible", s.visible);
        return c;
    }
    void click(int id) { w_.click(ControlId(id)); }
    // The ids of the controls whose state changed since the last call.
    val takeChangedControls() {
        val ids = val::array();
        w_.takeChangedControls([&](ControlId id) { ids.call<void>("push", int(indexOf(id))); });
        return ids;
    }

    void press(int button, int held, float x, float y) { w_.boardPress(button, held, 0, x, y); }
    void move(int held, float x, float y) { w_.boardMove(held, 0, x, y); }
    void release(int button, int held, float x, float y) { w_.boardRelease(button, held, 0, x, y); }
    // The pointer was lost without a release: every button held is let go.
    void cancel() { w_.boardCancel(); }

    int letterCount() const { return int(w_.layer().letters().size()); }
    val letter(int i) const {
        const LetterObject& l = w_.layer().letter(i);
        val v = box(l.box());
        v.set("caption", l.caption);
        return v;
    }

    // The board's pixels, R, G, B, A in memory: a view that stays valid as
    // long as the window, since the module's memory never grows.
    val pixels() const {
        const PixelBuffer& p = screen_.pixels();
        return val(emscripten::typed_memory_view(p.byteCount(),
                                                 reinterpret_cast<const unsigned char*>(p.data())));
    }
    int boardWidth() const { return screen_.pixels().width(); }
    int boardHeight() const { return screen_.pixels().height(); }
    // Brings the picture up to date; returns the repainted rectangles as
    // [left, top, width, height, left, top, ...].
    val updatePicture() {
        val rects = val::array();
        screen_.update(w_, [&](const Rect& r) {
            for (const int v : {r.left, r.top, r.width, r.height}) {
                rects.call<void>("push", v);
            }
        });
        return rects;
    }

    long dragSteps() const { return w_.dragSteps(); }

private:
    PageMeasurer measurer_;
    Form1 w_;
    BoardScreen screen_;
};

} // namespace

} // namespace orvanel

EMSCRIPTEN_BINDINGS(orvanel) {
    using namespace orvanel;
    emscripten::function("design", &design);
    emscripten::function("boardName", &boardName);
    emscripten::function("boardDescription", &boardDescription);
    emscripten::function("vertexName", &vertexName);
    emscripten::function("tabOrder", &tabOrderIds);
    emscripten::function("fontPixels", &fontPixelsOf);
    emscripten::class_<WebWindow>("Window")
        .constructor<val>()
        .function("caption", &WebWindow::caption)
        .function("ended", &WebWindow::ended)
        .function("control", &WebWindow::control)
        .function("click", &WebWindow::click)
        .function("takeChangedControls", &WebWindow::takeChangedControls)
        .function("press", &WebWindow::press)
        .function("move", &WebWindow::move)
        .function("release", &WebWindow::release)
        .function("cancel", &WebWindow::cancel)
        .function("letterCount", &WebWindow::letterCount)
        .function("letter", &WebWindow::letter)
        .function("pixels", &WebWindow::pixels)
        .function("boardWidth", &WebWindow::boardWidth)
        .function("boardHeight", &WebWindow::boardHeight)
        .function("updatePicture", &WebWindow::updatePicture)
        .function("dragSteps", &WebWindow::dragSteps);
}
