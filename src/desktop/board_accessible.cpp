// SPDX-License-Identifier: MIT
#include "desktop/board_accessible.h"

#include "desktop/board_widget.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include <algorithm>
#include <array>

namespace orvanel {

namespace {

// One vertex letter: a read-only static text inside the drawing area. Its
// name is the design's for the vertex; its text, the letter as painted, and
// its place are read from the board's layer whenever they are asked for.
class LetterAccessible : public QAccessibleInterface, public QAccessibleTextInterface {
public:
    LetterAccessible(BoardCanvas* canvas, int index) : canvas_(canvas), index_(index) {}

    bool isValid() const override { return !canvas_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return canvas_ ? canvas_->window()->windowHandle() : nullptr;
    }

    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(canvas_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !canvas_) {
            return QString();
        }
        const std::string_view name = kLetters[std::size_t(index_)].accessibleName;
        return QString::fromUtf8(name.data(), qsizetype(name.size()));
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!canvas_) {
            return QRect();
        }
        const QRect box = canvas_->letterBox(index_);
        return QRect(canvas_->mapToGlobal(box.topLeft()), box.size());
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        if (!canvas_ || !canvas_->isVisible()) {
            state.invisible = true;
        } else if (!canvas_->rect().intersects(canvas_->letterBox(index_))) {
            state.offscreen = true; // dragged beyond the board's edge
        }
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : nullptr;
    }

    // The letter's text: nothing to select, no cursor, one box for all of it.
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override {
        return caption().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(caption().size()); }
    QRect characterRect(int offset) const override {
        return offset >= 0 && offset < characterCount() ? rect() : QRect();
    }
    int offsetAtPoint(const QPoint& point) const override {
        return rect().contains(point) ? 0 : -1;
    }
    void scrollToSubstring(int, int) override {}
    // The letter's language, which a screen reader may pick its voice by.
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return QStringLiteral("language:") +
               QString::fromUtf8(kLanguage.data(), qsizetype(kLanguage.size())) + u';';
    }

private:
    QString caption() const {
        return canvas_ ? QString::fromStdString(canvas_->model().layer().letter(index_).caption)
                       : QString();
    }

    QPointer<BoardCanvas> canvas_;
    int index_;
};

// The drawing area: a canvas holding the four letters, topmost letter first
// under the pointer, as the drawing area itself decides.
class BoardAccessible : public QAccessibleWidget {
public:
    explicit BoardAccessible(BoardCanvas* canvas) : QAccessibleWidget(canvas, QAccessible::Canvas) {
        for (int i = 0; i < kVertexCount; ++i) {
            letters_[i] = new LetterAccessible(canvas, i);
            letterIds_[i] = QAccessible::registerAccessibleInterface(letters_[i]);
        }
    }
    // The toolkit's cache owns every registered object; the letters leave it
    // together with the drawing area's object.
    ~BoardAccessible() override {
        for (const QAccessible::Id id : letterIds_) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    int childCount() const override { return kVertexCount; }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < kVertexCount ? letters_[index] : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto found = std::find(letters_.begin(), letters_.end(), child);
        return found == letters_.end() ? -1 : int(found - letters_.begin());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const auto* canvas = static_cast<const BoardCanvas*>(widget());
        const QPointF p = canvas->mapFromGlobal(QPointF(x, y));
        const int index = canvas->model().letterAt({p.x(), p.y()});
        return index >= 0 ? letters_[index] : nullptr;
    }

private:
    std::array<LetterAccessible*, kVertexCount> letters_{};
    std::array<QAccessible::Id, kVertexCount> letterIds_{};
};

// The board's status bar and its notification: no widget stands for them and
// nothing shows them on the screen; they lie over the frame. The
// notification is named with what the board last told.
class ToldAccessible : public QAccessibleInterface {
public:
    ToldAccessible(QWidget* frame, QAccessible::Role role) : frame_(frame), role_(role) {}

    void setParent(QAccessibleInterface* parent) { parent_ = parent; }
    void setChild(QAccessibleInterface* child) { child_ = child; }
    void setName(const QString& name) { name_ = name; }

    bool isValid() const override { return !frame_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return frame_ ? frame_->window()->windowHandle() : nullptr; }

    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return parent_; }
    QAccessibleInterface* child(int index) const override { return index == 0 ? child_ : nullptr; }
    int childCount() const override { return child_ ? 1 : 0; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child == child_ ? 0 : -1;
    }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? name_ : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        return frame_ ? QRect(frame_->mapToGlobal(QPoint(0, 0)), frame_->size()) : QRect();
    }
    QAccessible::Role role() const override { return role_; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !frame_ || !frame_->isVisible();
        return state;
    }

private:
    QPointer<QWidget> frame_;
    QAccessible::Role role_;
    QAccessibleInterface* parent_ = nullptr;
    QAccessibleInterface* child_ = nullptr;
    QString name_;
};

// The board's frame: a panel that takes the focus, holding the drawing area
// and, after it, the status bar.
class BoardFrameAccessible : public QAccessibleWidget {
public:
    explicit BoardFrameAccessible(BoardFrame* frame)
        : QAccessibleWidget(frame, QAccessible::Pane),
          statusBar_(new ToldAccessible(frame, QAccessible::StatusBar)),
          told_(new ToldAccessible(frame, QAccessible::Notification)) {
        statusBar_->setParent(this);
        statusBar_->setChild(told_);
        told_->setParent(statusBar_);
        ids_ = {QAccessible::registerAccessibleInterface(statusBar_),
                QAccessible::registerAccessibleInterface(told_)};
    }
    ~BoardFrameAccessible() override {
        for (const QAccessible::Id id : ids_) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    int childCount() const override { return QAccessibleWidget::childCount() + 1; }
    QAccessibleInterface* child(int index) const override {
        return index == QAccessibleWidget::childCount() ? statusBar_
                                                        : QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child == statusBar_ ? QAccessibleWidget::childCount()
                                   : QAccessibleWidget::indexOfChild(child);
    }

    // The name's change first, so that a client that keeps names (AT-SPI's
    // library does) asks for the new one when the notification shows.
    void tell(const QString& text) {
        told_->setName(text);
        QAccessibleEvent renamed(told_, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
        QAccessibleEvent shown(told_, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }

private:
    ToldAccessible* statusBar_;
    ToldAccessible* told_;
    std::array<QAccessible::Id, 2> ids_{};
};

QAccessibleInterface* boardAccessibleFactory(const QString&, QObject* object) {
    if (auto* canvas = qobject_cast<BoardCanvas*>(object)) {
        return new BoardAccessible(canvas);
    }
    // The frame around the drawing area is a panel that takes the focus, not
    // the plain border a frame would otherwise be taken for ("frame" means a
    // top-level window to a screen reader on the desktop bus). It keeps the
    // class name of a plain QFrame, so it is told apart by its C++ type.
    if (auto* frame = dynamic_cast<BoardFrame*>(object)) {
        return new BoardFrameAccessible(frame);
    }
    if (object->property(kOptionGroupProperty).toBool()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
    }
    return nullptr;
}

} // namespace

void installBoardAccessibility() {
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(&boardAccessibleFactory);
        return true;
    }();
}

void announceLetterMoved(BoardCanvas* canvas, int index) {
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(canvas);
    if (QAccessibleInterface* letter = board ? board->child(index) : nullptr) {
        QAccessibleEvent event(letter, QAccessible::LocationChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void announceOnBoard(BoardFrame* frame, const QString& text) {
    if (auto* board =
            dynamic_cast<BoardFrameAccessible*>(QAccessible::queryAccessibleInterface(frame))) {
        board->tell(text);
    }
}

} // namespace orvanel
