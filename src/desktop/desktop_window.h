// SPDX-License-Identifier: MIT
// The desktop window: Qt widgets built from the window model's design, a view
// of its state. Clicks and pointer events go to the model; what the model
// reports as changed is shown in the widgets.
#pragma once

#include "desktop/board_chooser.h"
#include "desktop/board_files.h"
#include "desktop/board_widget.h"
#include "desktop/toolkit.h"
#include "window/notices.h"
#include "window/session.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QAbstractButton;
class QLabel;
class QPrinter;

namespace orvanel {

class DesktopWindow : public QWidget {
    Q_OBJECT

public:
    // Builds the model, which runs Form_Load, and the widgets that show it.
    explicit DesktopWindow(QWidget* parent = nullptr);
    ~DesktopWindow() override;

    Form1& model() { return session_.window(); }
    const Form1& model() const { return session_.window(); }
    Session& session() { return session_; }

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

    // The window's client area as it looks, at the screen's resolution.
    QImage picture();
    // The same as a PNG file with the board in it, as Ctrl+S saves it;
    // empty when it cannot be made.
    QByteArray pictureWithBoard();

    // Opens the board in the file at `path` as one action that Ctrl+Z takes
    // back. A file that cannot be read or holds no sound board changes
    // nothing; the notice returned says why, for the caller to tell.
    std::optional<Notice> openFile(const QString& path);
    // The boards this window keeps: its file among the kept ones.
    KeptBoards& keptBoards() { return kept_; }
    // Where Ctrl+S saves the picture: asks with the standard file dialog,
    // which a test replaces. An empty answer saves nothing.
    using SaveDialog = std::function<QString(QWidget* parent, const QString& suggested)>;
    void setSaveDialog(SaveDialog dialog) { saveDialog_ = std::move(dialog); }
    // Where Ctrl+P prints: the standard print dialog sets the printer up,
    // and a test replaces it. False: cancelled, nothing is printed.
    using PrintDialog = std::function<bool(QWidget* parent, QPrinter& printer)>;
    void setPrintDialog(PrintDialog dialog) { printDialog_ = std::move(dialog); }
    // The file dialog of the chooser's "Open a file…": the standard one,
    // which a test replaces.
    void setOpenFileDialog(BoardChooser::FileDialog dialog) { openFileDialog_ = std::move(dialog); }
    // How a failure is told: a warning box over the window, which a test
    // replaces.
    using NoticeBox = std::function<void(QWidget* parent, Notice notice)>;
    void setNoticeBox(NoticeBox box) { noticeBox_ = std::move(box); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void addShortcuts();
    void chooseBoard();
    void openAndTell(const QString& path);
    void keepBoard();
    void savePicture();
    void copyPicture();
    void printPicture();
    void tell(Notice notice);
    void tellScreenReader();
    void nameReadoutLines();
    QWidget* createWidget(ControlId id);
    QWidget* groupOf(ControlId id);
    void showState(ControlId id);
    void buildTabOrder();

    QtTextMeasurer measurer_;
    Session session_;
    BoardFrame* gamen_ = nullptr;
    SaveDialog saveDialog_;
    PrintDialog printDialog_;
    BoardChooser::FileDialog openFileDialog_;
    NoticeBox noticeBox_;
    // The read-out changed since its lines were named for a screen reader.
    bool readoutRenamed_ = true;
    bool keepRefusedTold_ = false;
    KeptBoards kept_;
    std::array<QWidget*, kControlCount> widgets_{};
    std::array<QWidget*, kGroups.size()> groups_{};
    Frame frame_; // what the session reported changed, last taken
};

} // namespace orvanel
