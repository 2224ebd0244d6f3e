// SPDX-License-Identifier: MIT
#include "desktop/desktop_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace orvanel {

namespace {

// The design's colours; a colour it leaves to the platform stays as it is.
void setColors(QWidget* widget, std::optional<Rgb> background, std::optional<Rgb> text) {
    QPalette palette = widget->palette();
    if (background) {
        palette.setColor(QPalette::Window, toQColor(*background));
        palette.setColor(QPalette::Button, toQColor(*background));
        widget->setAutoFillBackground(true);
    }
    if (text) {
        palette.setColor(QPalette::WindowText, toQColor(*text));
    }
    widget->setPalette(palette);
}

QString qString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

} // namespace

DesktopWindow::DesktopWindow(Form1::HandlerTrace trace, QWidget* parent)
    : QWidget(parent), model_(measurer_, std::move(trace)) {
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(kWindowSize.width, kWindowSize.height);
    setColors(this, kWindowColor, {});
    gamen_ = new BoardFrame(
        model_, [this] { sync(); }, this);
    gamen_->move(kBoardBox.left, kBoardBox.top);
    gamen_->setFocusPolicy(Qt::StrongFocus);
    // What a screen reader says when the board takes the focus.
    gamen_->setAccessibleName(qString(kBoardName));
    gamen_->setAccessibleDescription(qString(kBoardDescription));
    for (std::size_t i = 0; i < kControlCount; ++i) {
        widgets_[i] = createWidget(ControlId(i));
    }
    buildTabOrder();
    sync();
}

DesktopWindow::~DesktopWindow() = default;

QAbstractButton* DesktopWindow::button(ControlId id) const {
    return qobject_cast<QAbstractButton*>(widget(id));
}

QLabel* DesktopWindow::label(ControlId id) const {
    return qobject_cast<QLabel*>(widget(id));
}

QWidget* DesktopWindow::createWidget(ControlId id) {
    const ControlDesign& d = Form1::design(id);
    const QString caption = qString(d.caption);
    QWidget* widget = nullptr;
    switch (d.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(caption, this);
        label->setAlignment((d.look.alignRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        widget = label;
        break;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(false);
        widget = button;
        break;
    }
    case ControlKind::OptionButton:
        widget = new QRadioButton(caption, this);
        break;
    case ControlKind::CheckBox:
        widget = new QCheckBox(caption, this);
        break;
    }
    widget->setObjectName(QString::fromStdString(d.objectName()));
    widget->setFont(designFont(d.look.font));
    setColors(widget, d.look.background, d.look.text);
    if (!d.description.empty()) {
        // The value alone (" 41") does not say which angle it is. The name
        // stays the text, so a new value is announced.
        widget->setAccessibleDescription(qString(d.description));
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        // A user's click, by mouse, keyboard or assistive technology; the
        // program's own changes come from the model.
        connect(button, &QAbstractButton::clicked, this, [this, id] {
            model_.click(id);
            showState(id); // the widget shows the model's value, whatever it did itself
            sync();
        });
    }
    return widget;
}

void DesktopWindow::showState(ControlId id) {
    const ControlState& s = model_.control(id);
    QWidget* w = widget(id);
    const QString caption = QString::fromStdString(s.caption);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text() != caption) {
            label->setText(caption);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (button->text() != caption) {
            button->setText(caption);
        }
        if (button->isCheckable()) {
            button->setChecked(s.checked);
        }
        if (button->font().bold() != s.bold) {
            QFont font = button->font();
            font.setBold(s.bold);
            button->setFont(font);
        }
    }
    w->setEnabled(s.enabled);
    w->setGeometry(s.box.left, s.box.top, s.box.width, s.box.height);
    w->setVisible(s.visible);
}

void DesktopWindow::buildTabOrder() {
    QWidget* previous = nullptr;
    for (const TabStop& stop : kTabOrder) {
        QWidget* widget = stop ? this->widget(*stop) : gamen_;
        if (widget->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        if (previous) {
            setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

void DesktopWindow::sync() {
    model_.takeChangedControls([this](ControlId id) { showState(id); });
    if (shownCaption_ != model_.caption()) {
        shownCaption_ = model_.caption();
        setWindowTitle(QString::fromStdString(shownCaption_));
    }
    board()->scheduleRepaint();
    if (model_.ended()) {
        close();
    }
}

void DesktopWindow::closeEvent(QCloseEvent* event) {
    // The program ends at once: nothing to ask, nothing to save.
    event->accept();
}

} // namespace orvanel
