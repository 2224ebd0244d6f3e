#include "platform/board_view.h"

#include "platform/pixel_math.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

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

void paintLine(QPainter& painter, const LineObject& line, const QRectF& area) {
    if (!line.visible) {
        return;
    }
    // Clip in real coordinates first: a line may end millions of pixels away.
    const double pad = line.width + 2;
    const auto clipped = clipSegment(line.p1, line.p2, area.adjusted(-pad, -pad, pad, pad));
    if (!clipped) {
        return;
    }
    QPen pen(QColor::fromRgb(line.color), line.width, Qt::SolidLine,
             line.width > 1 ? Qt::RoundCap : Qt::SquareCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.drawLine(clipped->first, clipped->second);
}

} // namespace

LetterLabel::LetterLabel(BoardCanvas* canvas) : QLabel(canvas), canvas_(canvas) {
    setMouseTracking(true);
}

void LetterLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void LetterLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void LetterLabel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (event->buttons() == Qt::NoButton) {
        canvas_->forward(event, mapToParent(event->position()));
    }
}

BoardCanvas::BoardCanvas(RasterSurface& surface, BoardLayer& layer, QWidget* parent)
    : QWidget(parent), surface_(surface), layer_(layer) {
    setObjectName(QStringLiteral("gamenCanvas"));
    setFixedSize(surface.size());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int i = 0; i < 4; ++i) {
        letters_[i] = new LetterLabel(this);
        letters_[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
    }
}

void BoardCanvas::sync() {
    QRegion region = surface_.takeChangedRegion();
    region += layer_.takeDamage();
    if (!region.isEmpty()) {
        update(region);
    }
    const unsigned moved = layer_.takeMovedLetters();
    for (int i = 0; i < 4; ++i) {
        if (moved & (1u << i)) {
            const QPointF p = layer_.label2[i].topLeft;
            letters_[i]->move(toWidgetPixel(p.x()), toWidgetPixel(p.y()));
        }
    }
}

void BoardCanvas::render(QPainter& painter, const QRect& rect) const {
    painter.save();
    painter.setClipRect(rect);
    painter.drawImage(rect, surface_.image(), rect);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRectF area(rect);
    for (const LineObject& line : layer_.line2) {
        paintLine(painter, line, area);
    }
    for (const LineObject& line : layer_.line3) {
        paintLine(painter, line, area);
    }
    for (const LineObject& line : layer_.line1) {
        paintLine(painter, line, area);
    }
    for (const LineObject& line : layer_.line4) {
        paintLine(painter, line, area);
    }
    const CircleShape& shape = layer_.shape1;
    if (shape.visible && shape.bounds().intersects(area)) {
        const double d = shape.diameter();
        painter.setPen(QPen(QColor::fromRgb(shape.color), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(shape.centre().x() - d / 2, shape.centre().y() - d / 2, d, d));
    }
    painter.restore();
}

void BoardCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    for (const QRect& rect : event->region()) {
        render(painter, rect);
    }
}

void BoardCanvas::forward(QMouseEvent* event, QPointF boardPos) {
    if (!sink_) {
        return;
    }
    const int shift = shiftCode(event->modifiers());
    const auto x = static_cast<float>(boardPos.x());
    const auto y = static_cast<float>(boardPos.y());
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
    forward(event, event->position());
}

void BoardCanvas::mouseMoveEvent(QMouseEvent* event) {
    forward(event, event->position());
}

void BoardCanvas::mouseReleaseEvent(QMouseEvent* event) {
    forward(event, event->position());
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
