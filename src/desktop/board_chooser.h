// SPDX-License-Identifier: MIT
// The chooser Ctrl+O opens: the kept boards, newest first, each as a small
// picture with the time it was kept, the newest selected, so that Enter
// opens the last board; a button that opens any file, one that forgets the
// kept boards, and Cancel (Escape).
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace orvanel {

class BoardChooser : public QDialog {
    Q_OBJECT

public:
    // Asks for any file to open, starting in `folder`; empty when cancelled.
    using FileDialog = std::function<QString(QWidget* parent, const QString& folder)>;

    BoardChooser(FileDialog fileDialog, QWidget* parent);

    // The file chosen to open, once the chooser was accepted.
    const QString& chosen() const { return chosen_; }

    // The width of a kept board's picture in the list.
    static constexpr int kPictureWidth = 160;

private:
    void fill();
    void openSelected();
    void openFile();
    void forget();

    FileDialog fileDialog_;
    QLabel* heading_;
    QListWidget* list_;
    QLabel* none_;
    QPushButton* open_;
    QPushButton* openFile_;
    QPushButton* forget_;
    QString chosen_;
};

} // namespace orvanel
