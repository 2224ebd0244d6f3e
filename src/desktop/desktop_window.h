// SPDX-License-Identifier: MIT
// The desktop window: Qt widgets built from the window model's design, a view
// of its state. Clicks and pointer events go to the model; what the model
// reports as changed is shown in the widgets.
#pragma once

#include "desktop/board_widget.h"
#include "desktop/toolkit.h"
#include "window/form1.h"

#include <QWidget>

#include <array>
#include <string>

class QAbstractButton;
class QLabel;

namespace orvanel {

class DesktopWindow : public QWidget {
    Q_OBJECT

public:
    // Builds the model, which runs Form_Load, and the widgets that show it.
    explicit DesktopWindow(Form1::HandlerTrace trace = {}, QWidget* parent = nullptr);
    ~DesktopWindow() override;

    Form1& model() { return model_; }
    const Form1& model() const { return model_; }

    // `gamen`, the board's frame, and its drawing area.
    BoardFrame* gamen() const { return gamen_; }
    BoardCanvas* board() const { return gamen_->canvas(); }
    // The widget of a control of the design, and the same by kind.
    QWidget* widget(ControlId id) const { return widgets_[indexOf(id)]; }
    QAbstractButton* button(ControlId id) const;
    QLabel* label(ControlId id) const;

    // Shows in the widgets what changed in the model, schedules the board's
    // repaint and closes the window once the program has ended. Runs after
    // every event handed to the model.
    void sync();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* createWidget(ControlId id);
    void showState(ControlId id);
    void buildTabOrder();

    QtTextMeasurer measurer_;
    Form1 model_;
    BoardFrame* gamen_ = nullptr;
    std::array<QWidget*, kControlCount> widgets_{};
    std::string shownCaption_; // the window caption last shown
};

} // namespace orvanel
