// SPDX-License-Identifier: MIT
// The browser edition's JavaScript surface: the window model, its design and
// the board's picture, translated to plain JavaScript values. Nothing here
// decides anything; the page shows what the model says and hands it the
// user's clicks, pointer events and keys.
#include "window/board_file.h"
#include "window/board_screen.h"
#include "window/captions.h"
#include "window/design.h"
#include "window/fit.h"
#include "window/notices.h"
#include "window/session.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using emscripten::val;

namespace orvanel {

namespace {

// The values as the page sees them: plain fields, colours in CSS words, an
// empty colour where the platform's standard one is meant.

struct WebFont {
    std::string face; // "gothic", "mincho" or "default"
    double points = 0;
    bool bold = false;
    int pixels = 0; // the size in whole pixels, as both shells set it
};

struct WebControl {
    int id = 0;
    std::string name;
    int index = -1;
    std::string objectName;
    std::string kind; // "label", "button", "option" or "checkbox"
    std::string caption;
    Rect box;
    int tab = 0;
    WebFont font;
    std::string background;
    std::string color;
    bool alignRight = false;
    bool clipped = false;
    std::string accessibleName;
};

struct WebDesign {
    std::string caption;
    int width = 0;
    int height = 0;
    std::string background;
    Rect board;
    int boardBorder = 0;
    int boardTab = 0;
    std::string boardName; // what a screen reader calls the board
    std::string boardRoleDescription;
    std::string boardDescription;
    std::string boardBackground;
    WebFont letterFont;
    std::string letterColor;
    std::string letterBackground;
    val controls = val::array();        // WebControl, by control id
    val tabOrder = val::array();        // control ids in the order of the Tab key, -1 the board
    val groups = val::array();          // WebGroup: option buttons a screen reader groups
    std::string readoutName;            // what a screen reader calls the read-out
    val readoutControls = val::array(); // the labels that show the read-out
};

struct WebGroup {
    std::string name;
    val members = val::array(); // control ids
};

struct WebLetter {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string caption;
    std::string name; // what a screen reader calls the letter
};

std::string cssColor(std::optional<Rgb> color) {
    if (!color) {
        return {};
    }
    char text[24];
    std::snprintf(text, sizeof text, "rgb(%d, %d, %d)", redOf(*color), greenOf(*color),
                  blueOf(*color));
    return text;
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

WebFont webFont(const FontSpec& f) {
    return {faceName(f.face), f.points, f.bold, fontPixels(f)};
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

WebDesign design() {
    std::vector<WebControl> controls;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlDesign& d = kControls[i];
        controls.push_back({int(i), std::string(d.name), d.index, d.objectName(), kindName(d.kind),
                            std::string(d.caption), d.box, d.tab, webFont(d.look.font),
                            cssColor(d.look.background), cssColor(d.look.text), d.look.alignRight,
                            d.look.sizing == Sizing::Fixed && d.kind == ControlKind::Label,
                            std::string(d.accessibleName)});
    }
    std::vector<int> tabStops;
    for (const TabStop& stop : kTabOrder) {
        tabStops.push_back(stop ? int(indexOf(*stop)) : -1);
    }
    std::vector<WebGroup> groups;
    for (const GroupDesign& g : kGroups) {
        std::vector<int> members;
        for (const ControlId id : g.members) {
            members.push_back(int(indexOf(id)));
        }
        groups.push_back({std::string(g.name), val::array(members)});
    }
    std::vector<int> readout;
    for (const auto& row : {controls::Label5, controls::Label3, controls::Label6}) {
        for (const ControlId id : row) {
            readout.push_back(int(indexOf(id)));
        }
    }
    return {std::string(kWindowCaption),
            kWindowSize.width,
            kWindowSize.height,
            cssColor(kWindowColor),
            kBoardBox,
            kBoardBorder,
            kBoardTab,
            std::string(kBoardName),
            std::string(kBoardRoleDescription),
            std::string(kBoardDescription),
            cssColor(kBoardGreen),
            webFont(kLetterFont),
            cssColor(kLetterText),
            cssColor(kLetterBackground),
            val::array(controls),
            val::array(tabStops),
            val::array(groups),
            std::string(kReadoutName),
            val::array(readout)};
}

// A text in the window's language and in English.
struct WebText {
    std::string japanese;
    std::string english;
};

// A notice's two texts, by the notice's name ("SaveFailed"); empty texts
// for a name the core does not know.
WebText notice(const std::string& name) {
    const std::optional<Notice> n = noticeNamed(name);
    if (!n) {
        return {};
    }
    return {std::string(noticeText(*n).japanese), std::string(noticeText(*n).english)};
}

// A caption of what the page shows around the window, by its name in
// captions.h without the k ("Ended"); empty texts for another name.
WebText caption(const std::string& name) {
    static constexpr std::pair<std::string_view, const Caption*> kNamed[] = {
        {"OpenTitle", &captions::kOpenTitle},
        {"KeptBoards", &captions::kKeptBoards},
        {"NoKeptBoards", &captions::kNoKeptBoards},
        {"Open", &captions::kOpen},
        {"OpenFile", &captions::kOpenFile},
        {"ForgetKept", &captions::kForgetKept},
        {"Cancel", &captions::kCancel},
        {"LastBoardHint", &captions::kLastBoardHint},
        {"OpenLastBoard", &captions::kOpenLastBoard},
        {"Ended", &captions::kEnded},
        {"StartAgain", &captions::kStartAgain},
    };
    for (const auto& [n, c] : kNamed) {
        if (n == name) {
            return {std::string(c->japanese), std::string(c->english)};
        }
    }
    return {};
}

// Where the window goes in a space of `width` x `height` CSS pixels at
// `dpr` device pixels each; `scale` is what the address asks for (?scale=),
// taken only when sound.
struct WebPlace {
    double factor = 1;
    double left = 0;
    double top = 0;
    bool scrolls = false;
};

WebPlace placeWindowIn(double width, double height, double dpr, const std::string& scale) {
    const WindowPlace p = placeWindow(width, height, dpr, askedFactor(scale));
    return {p.factor, p.left, p.top, p.scrolls};
}

// The width a page on a screen of `width` x `height` CSS pixels lays itself
// out at, when the screen is too small for the window; 0 when it is not.
double zoomedOutWidthOf(double width, double height) {
    return zoomedOutWidth(width, height).value_or(0);
}

// A copy of `bytes` for the page to keep.
val byteArray(const std::vector<std::uint8_t>& bytes) {
    return val::global("Uint8Array")
        .new_(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

const char* noticeName(std::optional<Notice> notice) {
    return notice ? kNotices[std::size_t(*notice)].name.data() : "";
}

// The PNG `png` (a Uint8Array) with `board`, the data boardData gave, in
// it, as a new Uint8Array; empty when `png` is no PNG. The page encodes its
// picture of the window away from the window, so it takes the board's data
// when it draws the picture, while the window is as the picture shows it.
val pictureWithBoardData(const val& png, const val& board) {
    return byteArray(
        pictureWithBoard(emscripten::convertJSArrayToNumberVector<std::uint8_t>(png),
                         emscripten::convertJSArrayToNumberVector<std::uint8_t>(board)));
}

// Asks the page how large a caption is in a font of the design.
class PageMeasurer : public TextMeasurer {
public:
    explicit PageMeasurer(val measure) : measure_(std::move(measure)) {}
    Size textSize(const FontSpec& font, std::string_view text) const override {
        return measure_(webFont(font), std::string(text)).as<Size>();
    }

private:
    val measure_;
};

// A view of `values` for the page to read before the next call: that call
// may change them, or grow the module's memory and detach the view.
val int32View(const std::vector<std::int32_t>& values) {
    return val(emscripten::typed_memory_view(values.size(), values.data()));
}

const char* resultName(KeyResult result) {
    switch (result) {
    case KeyResult::Done:
        return "done";
    case KeyResult::SavePicture:
        return "save";
    case KeyResult::CopyPicture:
        return "copy";
    case KeyResult::PrintPicture:
        return "print";
    case KeyResult::OpenBoard:
        return "open";
    case KeyResult::Ignored:
        break;
    }
    return "ignored";
}

// The pointer's kind by the browser's name of it: "touch", "pen", else the
// mouse.
Session::PointerKind pointerKind(const std::string& name) {
    if (name == "touch") {
        return Session::PointerKind::Touch;
    }
    return name == "pen" ? Session::PointerKind::Pen : Session::PointerKind::Mouse;
}

// What the first number of a frame (takeFrame) holds.
enum FrameFlag : std::int32_t {
    kFrameHeld = 1,          // a button holds the board
    kFrameCrosshair = 2,     // the crosshair and the board's focus ring show
    kFrameKeepDue = 4,       // the board is to be kept now
    kFrameEnded = 8,         // "終了": the window ends
    kFrameAnnouncement = 16, // frameAnnouncement() has words for a screen reader
    kFrameLink = 32,         // frameLink() is the figure's new link
};

// The window as a user meets it, and the picture of its board.
class WebWindow {
public:
    explicit WebWindow(val measure) : measurer_(std::move(measure)), s_(measurer_), screen_(s_) {
        letterBoxes(shownLetters_);
    }

    std::string caption() const { return w().caption(); }
    bool ended() const { return w().ended(); }

    ControlState control(int id) const { return w().control(ControlId(id)); }
    void click(int id) { s_.click(ControlId(id)); }

    // A pointer on the board: its kind ("mouse", "touch" or "pen"), the
    // browser's number for it, the button pressed or released and those held
    // after the event, as the core's codes, and the place in board pixels.
    void pointerPress(const std::string& kind, int id, int button, int held, float x, float y) {
        s_.pointerPress(pointerKind(kind), id, button, held, 0, x, y);
    }
    void pointerMove(const std::string& kind, int id, int held, float x, float y) {
        s_.pointerMove(pointerKind(kind), id, held, 0, x, y);
    }
    void pointerRelease(const std::string& kind, int id, int button, int held, float x, float y) {
        s_.pointerRelease(pointerKind(kind), id, button, held, 0, x, y);
    }
    // The pointer was lost without a release: every button it held is let go.
    void pointerCancel(const std::string& kind, int id) { s_.pointerCancel(pointerKind(kind), id); }

    // A key by its name ("Left", "Space", "ContextMenu", "Z", ...), on the
    // board (`repeat`: the key held down repeats) or with Ctrl anywhere; the
    // answer says what is left to the page: "ignored", "done", "save",
    // "copy", "print" or "open".
    std::string key(const std::string& name, bool shift, bool repeat) {
        const std::optional<Key> k = keyNamed(name);
        return resultName(k ? s_.boardKey(*k, shift, repeat) : KeyResult::Ignored);
    }
    std::string shortcut(const std::string& name, bool shift) {
        const std::optional<Key> k = keyNamed(name);
        return resultName(k ? s_.shortcut(*k, shift) : KeyResult::Ignored);
    }
    void focusIn(bool byPointer) { s_.boardFocusIn(byPointer); }
    void focusOut() { s_.boardFocusOut(); }
    bool gestureInProgress() const { return s_.gestureInProgress(); }
    std::string readoutLine(int i) const {
        return i >= 0 && i < kVertexCount ? s_.readoutLine(i) : std::string();
    }
    // The board's data for a picture of the window as it is now (see the
    // free pictureWithBoard), as a Uint8Array; and a file's bytes opened as
    // a board, or a link's text opened: the name of the notice that says
    // why not, or "" when opened.
    val boardData() const { return byteArray(writeBoard(w())); }
    std::string openBoard(const val& file) {
        return noticeName(
            s_.openBoard(emscripten::convertJSArrayToNumberVector<std::uint8_t>(file)));
    }
    std::string link() const { return s_.link(); }
    std::string openLink(const std::string& text) { return noticeName(s_.openLink(text)); }
    bool takeKeepDue() { return s_.takeKeepDue(); }

    int letterCount() const { return int(w().layer().letters().size()); }
    WebLetter letter(int i) const {
        const LetterObject& l = w().layer().letter(i);
        const Rect b = l.box();
        return {b.left,   b.top,     b.width,
                b.height, l.caption, std::string(kLetters.at(std::size_t(i)).accessibleName)};
    }

    // The board's size in board pixels.
    int boardWidth() const { return kBoardSize.width; }
    int boardHeight() const { return kBoardSize.height; }
    // Shows the board at `k` device pixels per board pixel: the picture is
    // composed anew at that size, which is returned in device pixels.
    Size setScale(double k) {
        screen_.setScale(s_, BoardScale::at(k));
        return {screen_.scale().width, screen_.scale().height};
    }
    // The board's picture in device pixels, R, G, B, A in memory: a view
    // that stays valid until the module's memory grows; its buffer is then
    // detached (empty), and the page asks for the view again.
    val pixels() const {
        const PixelBuffer& p = screen_.pixels();
        return val(emscripten::typed_memory_view(p.byteCount(),
                                                 reinterpret_cast<const unsigned char*>(p.data())));
    }

    // Everything to show anew since the last frame, in one exchange: the
    // picture brought up to date, and as numbers
    //   flags (FrameFlag),
    //   the count of controls whose state changed, then their ids,
    //   the count of device rectangles repainted, then left, top, width,
    //   height of each,
    //   the count of letters when any moved (else 0), then the box of each
    //   in board pixels, left, top, width, height.
    // The words for a screen reader and the link, when flagged, are asked
    // for apart (frameAnnouncement, frameLink).
    val takeFrame() {
        s_.takeFrame(frame_);
        out_.assign(1, (frame_.held ? kFrameHeld : 0) | (frame_.crosshair ? kFrameCrosshair : 0) |
                           (frame_.keepDue ? kFrameKeepDue : 0) | (frame_.ended ? kFrameEnded : 0) |
                           (frame_.announcement.empty() ? 0 : kFrameAnnouncement) |
                           (frame_.link ? kFrameLink : 0));
        out_.push_back(std::int32_t(frame_.controls.count()));
        frame_.forEachControl([&](ControlId id) { out_.push_back(int(indexOf(id))); });
        const std::size_t rectCount = out_.size();
        out_.push_back(0);
        screen_.update(s_, frame_.damage, [&](const Rect& r) {
            out_.insert(out_.end(), {r.left, r.top, r.width, r.height});
            ++out_[rectCount];
        });
        letterBoxes(letters_);
        if (letters_ != shownLetters_) {
            shownLetters_ = letters_;
            out_.push_back(letterCount());
            out_.insert(out_.end(), letters_.begin(), letters_.end());
        } else {
            out_.push_back(0);
        }
        return int32View(out_);
    }
    std::string frameAnnouncement() const { return frame_.announcement; }
    std::string frameLink() const { return frame_.link.value_or(std::string()); }

private:
    const Form1& w() const { return s_.window(); }

    // The letters' boxes, four numbers each, into `boxes`.
    void letterBoxes(std::vector<std::int32_t>& boxes) const {
        boxes.clear();
        for (const LetterObject& l : w().layer().letters()) {
            const Rect b = l.box();
            boxes.insert(boxes.end(), {b.left, b.top, b.width, b.height});
        }
    }

    PageMeasurer measurer_;
    Session s_;
    BoardScreen screen_;
    Frame frame_;
    std::vector<std::int32_t> out_;
    std::vector<std::int32_t> letters_;
    std::vector<std::int32_t> shownLetters_; // the letters' boxes last reported
};

} // namespace

} // namespace orvanel

EMSCRIPTEN_BINDINGS(orvanel) {
    using namespace orvanel;
    using emscripten::value_object;
    value_object<Rect>("Rect")
        .field("left", &Rect::left)
        .field("top", &Rect::top)
        .field("width", &Rect::width)
        .field("height", &Rect::height);
    value_object<Size>("Size").field("width", &Size::width).field("height", &Size::height);
    value_object<WebFont>("Font")
        .field("face", &WebFont::face)
        .field("points", &WebFont::points)
        .field("bold", &WebFont::bold)
        .field("pixels", &WebFont::pixels);
    value_object<WebControl>("ControlDesign")
        .field("id", &WebControl::id)
        .field("name", &WebControl::name)
        .field("index", &WebControl::index)
        .field("objectName", &WebControl::objectName)
        .field("kind", &WebControl::kind)
        .field("caption", &WebControl::caption)
        .field("box", &WebControl::box)
        .field("tab", &WebControl::tab)
        .field("font", &WebControl::font)
        .field("background", &WebControl::background)
        .field("color", &WebControl::color)
        .field("alignRight", &WebControl::alignRight)
        .field("clipped", &WebControl::clipped)
        .field("accessibleName", &WebControl::accessibleName);
    value_object<WebDesign>("Design")
        .field("caption", &WebDesign::caption)
        .field("width", &WebDesign::width)
        .field("height", &WebDesign::height)
        .field("background", &WebDesign::background)
        .field("board", &WebDesign::board)
        .field("boardBorder", &WebDesign::boardBorder)
        .field("boardTab", &WebDesign::boardTab)
        .field("boardName", &WebDesign::boardName)
        .field("boardRoleDescription", &WebDesign::boardRoleDescription)
        .field("boardDescription", &WebDesign::boardDescription)
        .field("boardBackground", &WebDesign::boardBackground)
        .field("letterFont", &WebDesign::letterFont)
        .field("letterColor", &WebDesign::letterColor)
        .field("letterBackground", &WebDesign::letterBackground)
        .field("controls", &WebDesign::controls)
        .field("tabOrder", &WebDesign::tabOrder)
        .field("groups", &WebDesign::groups)
        .field("readoutName", &WebDesign::readoutName)
        .field("readoutControls", &WebDesign::readoutControls);
    value_object<WebGroup>("Group")
        .field("name", &WebGroup::name)
        .field("members", &WebGroup::members);
    value_object<ControlState>("ControlState")
        .field("caption", &ControlState::caption)
        .field("box", &ControlState::box)
        .field("bold", &ControlState::bold)
        .field("checked", &ControlState::checked)
        .field("enabled", &ControlState::enabled)
        .field("visible", &ControlState::visible);
    value_object<WebLetter>("Letter")
        .field("left", &WebLetter::left)
        .field("top", &WebLetter::top)
        .field("width", &WebLetter::width)
        .field("height", &WebLetter::height)
        .field("caption", &WebLetter::caption)
        .field("name", &WebLetter::name);

    value_object<WebText>("Text")
        .field("japanese", &WebText::japanese)
        .field("english", &WebText::english);

    emscripten::function("design", &design);
    emscripten::function("notice", &notice);
    emscripten::function("caption", &caption);
    emscripten::function("zoomedOutWidth", &zoomedOutWidthOf);
    value_object<WebPlace>("Place")
        .field("factor", &WebPlace::factor)
        .field("left", &WebPlace::left)
        .field("top", &WebPlace::top)
        .field("scrolls", &WebPlace::scrolls);
    emscripten::function("placeWindow", &placeWindowIn);
    emscripten::function("pictureWithBoard", &pictureWithBoardData);
    // How many boards the page keeps at least, and the most a file holding
    // a board may take (a larger one is no board: the page reads no more).
    emscripten::constant("keptBoards", kKeptBoards);
    emscripten::constant("largestBoardFile", double(kLargestBoardFile));
    emscripten::class_<WebWindow>("Window")
        .constructor<val>()
        .function("caption", &WebWindow::caption)
        .function("ended", &WebWindow::ended)
        .function("control", &WebWindow::control)
        .function("click", &WebWindow::click)
        .function("pointerPress", &WebWindow::pointerPress)
        .function("pointerMove", &WebWindow::pointerMove)
        .function("pointerRelease", &WebWindow::pointerRelease)
        .function("pointerCancel", &WebWindow::pointerCancel)
        .function("letterCount", &WebWindow::letterCount)
        .function("letter", &WebWindow::letter)
        .function("boardWidth", &WebWindow::boardWidth)
        .function("boardHeight", &WebWindow::boardHeight)
        .function("setScale", &WebWindow::setScale)
        .function("pixels", &WebWindow::pixels)
        .function("takeFrame", &WebWindow::takeFrame)
        .function("frameAnnouncement", &WebWindow::frameAnnouncement)
        .function("frameLink", &WebWindow::frameLink)
        .function("key", &WebWindow::key)
        .function("shortcut", &WebWindow::shortcut)
        .function("focusIn", &WebWindow::focusIn)
        .function("focusOut", &WebWindow::focusOut)
        .function("gestureInProgress", &WebWindow::gestureInProgress)
        .function("readoutLine", &WebWindow::readoutLine)
        .function("boardData", &WebWindow::boardData)
        .function("openBoard", &WebWindow::openBoard)
        .function("link", &WebWindow::link)
        .function("openLink", &WebWindow::openLink)
        .function("takeKeepDue", &WebWindow::takeKeepDue);
}
