#include "platform/board_view.h"

#include "platform/board_accessible.h"
#include "platform/pixel_math.h"

#include <cmath>

#include <QAccessible>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QTimerEvent>

namespace orvanel {

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
int shiftCode(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

// Draws `line` if it crosses `area`; `board` is the whole drawing area.
void paintLine(QPainter& painter, const LineObject& line, const QRectF& area, const QRectF& board) {
    if (!line.visible) {
        return;
    }
    const double pad = line.width + 2;
    const auto grown = [pad](const QRectF& r) { return r.adjusted(-pad, -pad, pad, pad); };
    if (!clipSegment(line.p1, line.p2, grown(area))) {
        return;
    }
    // Clip in real coordinates first: a line may end millions of pixels away.
    // The line is cut to the whole board, the same for every repaint, so that
    // its pixels do not depend on which part of the board is repainted.
    const auto clipped = clipSegment(line.p1, line.p2, grown(board));
    if (!clipped) {
        return;
    }
    QPen pen(QColor::fromRgb(line.color), line.width, Qt::SolidLine,
             line.width > 1 ? Qt::RoundCap : Qt::SquareCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.drawLine(clipped->first, clipped->second);
}

} // namespace

BoardCanvas::BoardCanvas(RasterSurface& surface, BoardLayer& layer, QWidget* parent)
    : QWidget(parent), surface_(surface), layer_(layer) {
    setObjectName(QStringLiteral("gamenCanvas"));
    setFixedSize(surface.size());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    installBoardAccessibility();
}

void BoardCanvas::setLetterLook(const QFont& font, const QColor& text, const QColor& background) {
    letterFont_ = font;
    letterText_ = text;
    letterBackground_ = background;
    const QFontMetricsF metrics(font);
    for (int i = 0; i < kLetterCount; ++i) {
        LetterObject& letter = layer_.label2[i];
        letter.size = QSizeF(std::ceil(metrics.horizontalAdvance(letter.caption)),
                             std::ceil(metrics.height()));
        letterTexts_[i].setText(letter.caption);
        letterTexts_[i].prepare(QTransform(), font);
        layer_.moveLetter(i, letter.topLeft);
    }
}

QRectF BoardCanvas::letterBox(int index) const {
    const LetterObject& letter = layer_.label2[index];
    return QRectF(toWidgetPixel(letter.topLeft.x()), toWidgetPixel(letter.topLeft.y()),
                  letter.size.width(), letter.size.height());
}

int BoardCanvas::letterAt(QPointF pos) const {
    for (int i = kLetterCount - 1; i >= 0; --i) {
        if (letterBox(i).contains(pos)) {
            return i;
        }
    }
    return -1;
}

void BoardCanvas::sync() {
    // Every pointer move changes the board, but the screen need not follow
    // faster than it refreshes: a change soon after a repaint waits for the
    // next frame, gathering what changes meanwhile.
    if (frameTimer_.isActive()) {
        return;
    }
    if (sinceFrame_.isValid() && sinceFrame_.elapsed() < kFrameMillis) {
        frameTimer_.start(int(kFrameMillis - sinceFrame_.elapsed()), this);
        return;
    }
    requestRepaint();
}

void BoardCanvas::requestRepaint() {
    sinceFrame_.start();
    // Rectangle by rectangle: the repaint manager unites them without the
    // allocations of building a region here.
    const auto repaint = [this](const QRect& rect) { update(rect); };
    surface_.takeChangedRects(repaint);
    layer_.takeDamage(repaint);
    // Only a screen reader or another assistive tool listens; without one the
    // drag costs nothing more.
    if (QAccessible::isActive()) {
        announceLetterMoves();
    }
}

void BoardCanvas::announceLetterMoves() {
    for (int i = 0; i < kLetterCount; ++i) {
        const QRectF box = letterBox(i);
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

namespace {

// The image a raster painter draws into, when it is an RGB image drawn at one
// device pixel per board pixel and offset by whole pixels: then the board can
// be composed straight into it, far cheaper than through the painter. On a
// high-density screen (a device pixel ratio above 1) the painter draws.
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
        t.dy() != std::floor(t.dy())) {
        return nullptr;
    }
    offset = QPoint(int(t.dx()), int(t.dy()));
    return image;
}

// The area that painting `rect` covers: every device pixel the rectangle
// touches. When a board pixel spans a fractional number of device pixels (at
// a scale of 1.5, say) a rectangle's edge may cut through a device pixel;
// painting all of it leaves no seam between neighbouring repaints. At one
// device pixel per board pixel it is `rect` itself.
QRectF touchedArea(const QPainter& painter, const QRect& rect) {
    const QTransform t = painter.deviceTransform();
    if (t.type() <= QTransform::TxTranslate) {
        return QRectF(rect);
    }
    return t.inverted().mapRect(QRectF(t.mapRect(QRectF(rect)).toAlignedRect()));
}

} // namespace

void BoardCanvas::composeDirect(QImage& target, QPoint offset, QRect area) const {
    area &= rect();
    area &= target.rect().translated(-offset);
    if (area.isEmpty()) {
        return;
    }
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    const auto targetRow = [&](int y) {
        return reinterpret_cast<QRgb*>(bits + (y + offset.y()) * stride) + offset.x();
    };
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(surface_.image().constScanLine(y));
        std::copy(source + area.left(), source + area.right() + 1, targetRow(y) + area.left());
    }
    const auto fillRun = [&](QRgb color) {
        return [&targetRow, color](int y, int x0, int x1) {
            QRgb* row = targetRow(y);
            std::fill(row + x0, row + x1 + 1, color);
        };
    };
    const auto drawLine = [&](const LineObject& line) {
        if (!line.visible) {
            return;
        }
        if (line.width <= 1 && (line.p1.x() == line.p2.x() || line.p1.y() == line.p2.y())) {
            // A grid line: one row or one column of pixels, both ends included.
            const QRectF span = QRectF(line.p1, line.p2).normalized();
            const QRect pixels =
                QRect(QPoint(int(std::floor(span.left())), int(std::floor(span.top()))),
                      QPoint(int(std::floor(span.right())), int(std::floor(span.bottom())))) &
                area;
            for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
                std::fill(targetRow(y) + pixels.left(), targetRow(y) + pixels.right() + 1,
                          line.color);
            }
            return;
        }
        forEachCapsuleRun(line.p1, line.p2, std::max(0.5, line.width / 2.0), area,
                          fillRun(line.color));
    };
    for (const LineObject& line : layer_.line2) {
        drawLine(line);
    }
    for (const LineObject& line : layer_.line3) {
        drawLine(line);
    }
    for (const LineObject& line : layer_.line1) {
        drawLine(line);
    }
    for (const LineObject& line : layer_.line4) {
        drawLine(line);
    }
}

void BoardCanvas::paintBoard(QPainter& painter, const QRect& rect) const {
    painter.save();
    const QRectF area = touchedArea(painter, rect);
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Above one device pixel per board pixel the surface is enlarged: each
    // board pixel becomes a block of screen pixels of its own colour, never a
    // blend of its neighbours. The light objects are drawn at the screen's
    // own resolution.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    QPoint offset;
    if (QImage* target = directTarget(painter, offset)) {
        composeDirect(*target, offset, rect);
    } else {
        const QRectF board(surface_.image().rect());
        const QRect pixels = area.toAlignedRect() & surface_.image().rect();
        painter.drawImage(pixels, surface_.image(), pixels);
        for (const auto* row : {&layer_.line2, &layer_.line3}) {
            for (const LineObject& line : *row) {
                paintLine(painter, line, area, board);
            }
        }
        for (const LineObject& line : layer_.line1) {
            paintLine(painter, line, area, board);
        }
        for (const LineObject& line : layer_.line4) {
            paintLine(painter, line, area, board);
        }
    }
    const CircleShape& shape = layer_.shape1;
    if (shape.visible && shape.bounds().intersects(area)) {
        const double d = shape.diameter();
        painter.setPen(QPen(QColor::fromRgb(shape.color), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(shape.centre().x() - d / 2, shape.centre().y() - d / 2, d, d));
    }
    // The letters lie on top, each an opaque box with its caption.
    painter.setFont(letterFont_);
    painter.setPen(letterText_);
    for (int i = 0; i < kLetterCount; ++i) {
        const QRectF box = letterBox(i);
        if (box.intersects(area)) {
            painter.fillRect(box, letterBackground_);
            painter.drawStaticText(box.topLeft(), letterTexts_[i]);
        }
    }
    painter.restore();
}

void BoardCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    for (const QRect& rect : event->region()) {
        paintBoard(painter, rect);
    }
}

void BoardCanvas::forward(QMouseEvent* event) {
    const QPointF pos = event->position();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The press of the first button decides who holds the pointer.
        if (event->buttons() == event->button()) {
            letterHoldsPointer_ = letterAt(pos) >= 0;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (letterHoldsPointer_) {
            letterHoldsPointer_ = event->buttons() != Qt::NoButton;
            return;
        }
        break;
    default:
        break;
    }
    if (letterHoldsPointer_ || !sink_) {
        return;
    }
    const int shift = shiftCode(event->modifiers());
    const auto x = static_cast<float>(pos.x());
    const auto y = static_cast<float>(pos.y());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        sink_->boardMouseDown(buttonCode(event->button()), shift, x, y);
        break;
    case QEvent::MouseButtonRelease:
        sink_->boardMouseUp(buttonCode(event->button()), shift, x, y);
        break;
    default:
        sink_->boardMouseMove(buttonsCode(event->buttons()), shift, x, y);
        break;
    }
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

BoardFrame::BoardFrame(RasterSurface& surface, BoardLayer& layer, QWidget* parent)
    : QFrame(parent), canvas_(new BoardCanvas(surface, layer, this)) {
    setObjectName(QStringLiteral("gamen"));
    setFixedSize(surface.width() + 2 * kBorder, surface.height() + 2 * kBorder);
    canvas_->move(kBorder, kBorder);
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
    ring(0, QColor(128, 128, 128), QColor(255, 255, 255));
    ring(1, QColor(64, 64, 64), QColor(212, 208, 200));
}

} // namespace orvanel
