// SPDX-License-Identifier: MIT
#include "desktop/board_widget.h"

#include "desktop/board_accessible.h"
#include "desktop/toolkit.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QTouchEvent>

#include <cmath>
#include <map>

namespace orvanel {

static_assert(kRedShift == 16, "the desktop shows pixels in QImage's RGB32 order");

namespace {

int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return kLeftButton;
    case Qt::RightButton:
        return kRightButton;
    case Qt::MiddleButton:
        return kMiddleButton;
    default:
        return 0;
    }
}

int buttonsCode(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? kLeftButton : 0) |
           (buttons & Qt::RightButton ? kRightButton : 0) |
           (buttons & Qt::MiddleButton ? kMiddleButton : 0);
}

// Modifier state as the handlers see it: 1 shift, 2 control, 4 alt.
int modifierMask(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

// The image a raster painter draws into, when it is an RGB image drawn at one
// device pixel per board pixel and offset by whole pixels: then the board is
// composed straight into it, far cheaper than through the painter.
QImage* directTarget(QPainter& painter, QPoint& offset) {
    QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
        engine->paintDevice()->devType() != QInternal::Image) {
        return nullptr;
    }
    auto* image = static_cast<QImage*>(engine->paintDevice());
    const QTransform t = painter.deviceTransform();
    if ((image->format() != QImage::Format_RGB32 &&
         image->format() != QImage::Format_ARGB32_Premultiplied) ||
        image->devicePixelRatio() != 1 || !image->isDetached() ||
        t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) ||
        t.dy() != std::floor(t.dy()) || t.dx() < 0 || t.dy() < 0) {
        return nullptr;
    }
    offset = QPoint(int(t.dx()), int(t.dy()));
    return image;
}

} // namespace

BoardCanvas::BoardCanvas(Session& session, std::function<void()> afterInput, QWidget* parent)
    : QWidget(parent), session_(session), afterInput_(std::move(afterInput)),
      letterFont_(designFont(kLetterFont)) {
    clock_.start();
    const Form1& model = session.window();
    setObjectName(QStringLiteral("gamenCanvas"));
    setFixedSize(model.surface().width(), model.surface().height());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_AcceptTouchEvents);
    for (const LetterObject& letter : model.layer().letters()) {
        letterTexts_.emplace_back(QString::fromStdString(letter.caption));
        letterTexts_.back().prepare(QTransform(), letterFont_);
        QImage image(letter.size.width, letter.size.height, QImage::Format_RGB32);
        image.fill(toQColor(kLetterBackground));
        QPainter painter(&image);
        painter.setFont(letterFont_);
        painter.setPen(toQColor(kLetterText));
        painter.drawStaticText(0, 0, letterTexts_.back());
        painter.end();
        letterImages_.push_back(std::move(image));
    }
    announcedLetterBoxes_.resize(letterTexts_.size());
    installBoardAccessibility();
}

QRect BoardCanvas::letterBox(int index) const {
    const Rect box = model().layer().letter(index).box();
    return QRect(box.left, box.top, box.width, box.height);
}

void BoardCanvas::scheduleRepaint(DamageList<8>& damage) {
    damage.takeInto(pending_);
    const std::int64_t wait = pacer_.wait(clock_.elapsed());
    if (wait == 0) {
        requestRepaint();
    } else if (!frameTimer_.isActive()) {
        frameTimer_.start(int(wait), this);
    }
}

void BoardCanvas::requestRepaint() {
    // Rectangle by rectangle: the repaint manager unites them without the
    // allocations of building a region here.
    bool damaged = false;
    pending_.take([&](const Rect& r) {
        update(QRect(r.left, r.top, r.width, r.height));
        damaged = true;
    });
    if (damaged) {
        pacer_.shown(clock_.elapsed());
    }
    // Only a screen reader or another assistive tool listens; without one the
    // drag costs nothing more.
    if (QAccessible::isActive()) {
        announceLetterMoves();
    }
}

void BoardCanvas::announceLetterMoves() {
    for (int i = 0; i < int(announcedLetterBoxes_.size()); ++i) {
        const QRect box = letterBox(i);
        if (box != announcedLetterBoxes_[i]) {
            announcedLetterBoxes_[i] = box;
            announceLetterMoved(this, i);
        }
    }
}

void BoardCanvas::timerEvent(QTimerEvent* event) {
    if (event->timerId() == frameTimer_.timerId()) {
        frameTimer_.stop();
        requestRepaint();
    }
}

void BoardCanvas::paintBoard(QPainter& painter, const QRect& rect) const {
    QPoint offset;
    if (QImage* target = directTarget(painter, offset)) {
        const PixelView screen = PixelView{reinterpret_cast<Rgb*>(target->bits()), target->width(),
                                           target->height(), target->bytesPerLine() / 4}
                                     .shifted(offset.x(), offset.y());
        session_.composeBoard(screen, Rect{rect.x(), rect.y(), rect.width(), rect.height()});
        copyLetters(screen, rect);
        return;
    }
    // Any other number of device pixels per board pixel: the core composes
    // the board's device pixels, which are shown one for one, and the letters
    // are drawn above them at the screen's resolution.
    const QTransform t = painter.deviceTransform();
    const BoardScale scale = BoardScale::at(t.m11());
    const QPoint origin(qRound(t.dx()), qRound(t.dy()));
    const QRect device = t.mapRect(QRectF(rect)).toAlignedRect().translated(-origin) &
                         QRect(0, 0, scale.width, scale.height);
    if (device.isEmpty()) {
        return;
    }
    if (deviceBoard_.size() != QSize(scale.width, scale.height)) {
        deviceBoard_ = QImage(scale.width, scale.height, QImage::Format_RGB32);
    }
    const PixelView view{reinterpret_cast<Rgb*>(deviceBoard_.bits()), deviceBoard_.width(),
                         deviceBoard_.height(), deviceBoard_.bytesPerLine() / 4};
    const Rect area{device.x(), device.y(), device.width(), device.height()};
    session_.composeBoard(view, area, scale);
    // The letters' boxes as blocks of board pixels, like everything under
    // them, so that a box's edge falls on the same device pixel whichever
    // repaint draws it; their captions go above at the screen's resolution.
    for (int i = 0; i < int(letterTexts_.size()); ++i) {
        const QRect box = letterBox(i);
        fillBoardPixels(scale, Rect{box.x(), box.y(), box.width(), box.height()}, kLetterBackground,
                        view, area);
    }
    painter.save();
    // Device coordinates from the board's device origin: a world transform
    // that undoes whatever lies beyond it (the device's ratio, the widget's
    // place in the window).
    const QTransform beyondWorld = painter.worldTransform().inverted() * t;
    painter.setWorldTransform(QTransform::fromTranslate(origin.x(), origin.y()) *
                              beyondWorld.inverted());
    painter.drawImage(device.topLeft(), deviceBoard_, device);
    painter.restore();
    painter.save();
    painter.setClipRect(t.inverted().mapRect(QRectF(device.translated(origin))));
    paintLetterCaptions(painter, QRectF(rect));
    painter.restore();
}

// The letters' captions, each within its box as a label's caption is.
void BoardCanvas::paintLetterCaptions(QPainter& painter, const QRectF& area) const {
    painter.setFont(letterFont_);
    painter.setPen(toQColor(kLetterText));
    for (int i = 0; i < int(letterTexts_.size()); ++i) {
        const QRect box = letterBox(i);
        if (QRectF(box).intersects(area)) {
            painter.save();
            painter.setClipRect(box, Qt::IntersectClip);
            painter.drawStaticText(box.topLeft(), letterTexts_[i]);
            painter.restore();
        }
    }
}

void BoardCanvas::copyLetters(PixelView target, const QRect& area) const {
    const QRect limit = area & QRect(0, 0, target.width, target.height);
    for (int i = 0; i < int(letterImages_.size()); ++i) {
        const QRect box = letterBox(i);
        const QRect visible = box & limit;
        for (int y = visible.top(); y <= visible.bottom(); ++y) {
            const auto* source =
                reinterpret_cast<const Rgb*>(letterImages_[i].constScanLine(y - box.top()));
            std::copy(source + visible.left() - box.left(),
                      source + visible.right() + 1 - box.left(), target.row(y) + visible.left());
        }
    }
}

void BoardCanvas::paintRegion(QPainter& painter, const QRegion& region) const {
    QPoint offset;
    if (QImage* target = directTarget(painter, offset)) {
        // Composed straight into the image, rectangle by rectangle, without
        // the painter's clipping and state for each.
        const PixelView screen = PixelView{reinterpret_cast<Rgb*>(target->bits()), target->width(),
                                           target->height(), target->bytesPerLine() / 4}
                                     .shifted(offset.x(), offset.y());
        for (const QRect& rect : region) {
            session_.composeBoard(screen, Rect{rect.x(), rect.y(), rect.width(), rect.height()});
            copyLetters(screen, rect);
        }
        return;
    }
    for (const QRect& rect : region) {
        paintBoard(painter, rect);
    }
}

void BoardCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paintRegion(painter, event->region());
}

void BoardCanvas::forward(QMouseEvent* event) {
    const QPointF pos = event->position();
    const int held = buttonsCode(event->buttons());
    const int modifiers = modifierMask(event->modifiers());
    const auto x = static_cast<float>(pos.x());
    const auto y = static_cast<float>(pos.y());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        session_.boardPress(buttonCode(event->button()), held, modifiers, x, y);
        break;
    case QEvent::MouseButtonRelease:
        session_.boardRelease(buttonCode(event->button()), held, modifiers, x, y);
        break;
    default:
        session_.boardMove(held, modifiers, x, y);
        break;
    }
    afterInput_();
}

void BoardCanvas::mousePressEvent(QMouseEvent* event) {
    forward(event);
}

void BoardCanvas::mouseMoveEvent(QMouseEvent* event) {
    forward(event);
}

void BoardCanvas::mouseReleaseEvent(QMouseEvent* event) {
    forward(event);
}

bool BoardCanvas::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        forwardTouch(static_cast<QTouchEvent*>(event));
        return true;
    default:
        return QWidget::event(event);
    }
}

// Each finger goes to the session as a pointer of its own: the session
// decides which one holds the board and makes it the left button.
void BoardCanvas::forwardTouch(QTouchEvent* event) {
    event->accept();
    constexpr auto kTouch = Session::PointerKind::Touch;
    const int modifiers = modifierMask(event->modifiers());
    for (const QEventPoint& point : event->points()) {
        const auto x = static_cast<float>(point.position().x());
        const auto y = static_cast<float>(point.position().y());
        if (event->type() == QEvent::TouchCancel) {
            session_.pointerCancel(kTouch, point.id());
            continue;
        }
        switch (point.state()) {
        case QEventPoint::Pressed:
            session_.pointerPress(kTouch, point.id(), kLeftButton, kLeftButton, modifiers, x, y);
            break;
        case QEventPoint::Updated:
            session_.pointerMove(kTouch, point.id(), kLeftButton, modifiers, x, y);
            break;
        case QEventPoint::Released:
            session_.pointerRelease(kTouch, point.id(), kLeftButton, 0, modifiers, x, y);
            break;
        default:
            break;
        }
    }
    afterInput_();
}

BoardFrame::BoardFrame(Session& session, std::function<void()> afterInput, QWidget* parent)
    : QFrame(parent), session_(session), afterInput_(std::move(afterInput)),
      canvas_(new BoardCanvas(session, afterInput_, this)) {
    setObjectName(QStringLiteral("gamen"));
    setFixedSize(kBoardBox.width, kBoardBox.height);
    canvas_->move(kBoardBorder, kBoardBorder);
}

void BoardFrame::paintEvent(QPaintEvent*) {
    // The classic sunken border: two shaded rings, dark above and left, light
    // below and right.
    QPainter painter(this);
    const int w = width();
    const int h = height();
    const auto ring = [&](int inset, QColor topLeft, QColor bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(inset, inset, w - 2 - inset, inset);
        painter.drawLine(inset, inset, inset, h - 2 - inset);
        painter.setPen(bottomRight);
        painter.drawLine(inset, h - 1 - inset, w - 1 - inset, h - 1 - inset);
        painter.drawLine(w - 1 - inset, inset, w - 1 - inset, h - 1 - inset);
    };
    if (session_.crosshairShown()) {
        // The keyboard's focus: a ring two pixels wide in place of the border.
        ring(0, kFocusColor, kFocusColor);
        ring(1, kFocusColor, kFocusColor);
        return;
    }
    ring(0, QColor(128, 128, 128), QColor(255, 255, 255));
    ring(1, QColor(64, 64, 64), QColor(212, 208, 200));
}

// The board's keys, as the session reads them; any other key is the
// window's (Tab moves the focus on).
void BoardFrame::keyPressEvent(QKeyEvent* event) {
    static const std::map<int, Key> keys{
        {Qt::Key_Left, Key::Left},   {Qt::Key_Right, Key::Right},
        {Qt::Key_Up, Key::Up},       {Qt::Key_Down, Key::Down},
        {Qt::Key_Space, Key::Space}, {Qt::Key_Escape, Key::Escape},
        {Qt::Key_A, Key::A},         {Qt::Key_D, Key::D},
        {Qt::Key_F10, Key::F10},     {Qt::Key_Menu, Key::ContextMenu},
    };
    const auto key = keys.find(event->key());
    const Qt::KeyboardModifiers others =
        event->modifiers() & ~Qt::ShiftModifier & ~Qt::KeypadModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (key == keys.end() || others != Qt::NoModifier ||
        session_.boardKey(key->second, shift, event->isAutoRepeat()) == KeyResult::Ignored) {
        QFrame::keyPressEvent(event);
        return;
    }
    afterInput_();
    update(); // the focus ring shows once a key is used
}

// The crosshair shows while the keyboard has the board: after Tab, or once a
// board key was used; a mouse click that focuses the board shows none.
void BoardFrame::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    session_.boardFocusIn(event->reason() == Qt::MouseFocusReason);
    afterInput_();
    update();
}

void BoardFrame::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    session_.boardFocusOut();
    afterInput_();
    update();
}

} // namespace orvanel
