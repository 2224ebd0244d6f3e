// SPDX-License-Identifier: MIT
#include "desktop/desktop_window.h"

#include "desktop/board_accessible.h"

#include "window/board_file.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <algorithm>

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

} // namespace

DesktopWindow::DesktopWindow(QWidget* parent)
    : QWidget(parent), session_(measurer_),
      // Told on the window's thread, once: the window keeps trying.
      kept_([this] {
          QMetaObject::invokeMethod(
              this,
              [this] {
                  if (!keepRefusedTold_) {
                      keepRefusedTold_ = true;
                      tell(Notice::KeepRefused);
                  }
              },
              Qt::QueuedConnection);
      }) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromStdString(model().caption()));
    setFixedSize(kWindowSize.width, kWindowSize.height);
    setColors(this, kWindowColor, {});
    setAcceptDrops(true);
    gamen_ = new BoardFrame(
        session_, [this] { sync(); }, this);
    gamen_->move(kBoardBox.left, kBoardBox.top);
    gamen_->setFocusPolicy(Qt::StrongFocus);
    // What a screen reader says when the board takes the focus: its
    // instructions stay its description whatever the window shows.
    gamen_->setAccessibleName(qString(kBoardName));
    gamen_->setAccessibleDescription(qString(kBoardDescription));
    for (std::size_t i = 0; i < kControlCount; ++i) {
        widgets_[i] = createWidget(ControlId(i));
    }
    buildTabOrder();
    addShortcuts();
    nameReadoutLines();
    sync();
}

DesktopWindow::~DesktopWindow() {
    kept_.finish();
    // The board reports its focus to the session: it goes first, while the
    // session is still there, not with the other children after it.
    delete gamen_;
}

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
    case ControlKind::OptionButton: {
        widget = new QRadioButton(caption, groupOf(id));
        break;
    }
    case ControlKind::CheckBox:
        widget = new QCheckBox(caption, this);
        break;
    }
    widget->setObjectName(QString::fromStdString(d.objectName()));
    widget->setFont(designFont(d.look.font));
    setColors(widget, d.look.background, d.look.text);
    if (!d.accessibleName.empty()) {
        widget->setAccessibleName(qString(d.accessibleName));
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        const auto userClick = [this, id] {
            session_.click(id);
            showState(id); // the widget shows the model's value, whatever it did itself
            sync();
        };
        if (d.kind == ControlKind::Button) {
            connect(button, &QAbstractButton::clicked, this, userClick);
        } else {
            // A box or option button changed by the user, by mouse, keyboard
            // or assistive technology (whose "toggle" changes it without a
            // click). The program's own changes come from the model and match
            // it already; a user cannot clear an option button, only select
            // another, which clears this one in the model too.
            connect(button, &QAbstractButton::toggled, this, [this, id, userClick](bool checked) {
                const bool option = Form1::design(id).kind == ControlKind::OptionButton;
                if (checked != model().control(id).checked && (checked || !option)) {
                    userClick();
                }
            });
        }
    }
    return widget;
}

// A row of option buttons a screen reader presents as one named group: a
// widget of no look of its own over the row.
QWidget* DesktopWindow::groupOf(ControlId id) {
    for (std::size_t g = 0; g < kGroups.size(); ++g) {
        const auto& members = kGroups[g].members;
        if (std::find(members.begin(), members.end(), id) == members.end()) {
            continue;
        }
        if (!groups_[g]) {
            QRect area;
            for (const ControlId member : members) {
                const Rect& b = Form1::design(member).box;
                area |= QRect(b.left, b.top, b.width, b.height);
            }
            groups_[g] = new QWidget(this);
            groups_[g]->setObjectName(QStringLiteral("Group%1").arg(g));
            groups_[g]->setProperty(kOptionGroupProperty, true);
            groups_[g]->setAccessibleName(qString(kGroups[g].name));
            groups_[g]->setGeometry(area);
        }
        return groups_[g];
    }
    return this;
}

void DesktopWindow::showState(ControlId id) {
    const ControlState& s = model().control(id);
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
        if (button->isCheckable() && button->isChecked() != s.checked) {
            // The model keeps the twelve option buttons one group across
            // their rows: one it clears must clear, also when it is the only
            // one selected in its row, which a button of a row refuses.
            const bool exclusive = button->autoExclusive();
            button->setAutoExclusive(false);
            button->setChecked(s.checked);
            button->setAutoExclusive(exclusive);
        }
        if (button->font().bold() != s.bold) {
            QFont font = button->font();
            font.setBold(s.bold);
            button->setFont(font);
        }
    }
    w->setEnabled(s.enabled);
    // Window pixels, also for an option button inside its row's group.
    const QPoint origin = w->parentWidget() == this ? QPoint() : w->parentWidget()->pos();
    w->setGeometry(s.box.left - origin.x(), s.box.top - origin.y(), s.box.width, s.box.height);
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
    session_.takeFrame(frame_);
    frame_.forEachControl([this](ControlId id) {
        showState(id);
        const auto& values = controls::Label5;
        if (std::find(values.begin(), values.end(), id) != values.end()) {
            readoutRenamed_ = false;
        }
    });
    board()->scheduleRepaint(frame_.damage);
    if (frame_.keepDue) {
        keepBoard();
    }
    tellScreenReader();
    if (frame_.ended) {
        close();
    }
}

// What the session has to tell a screen reader goes out from the board once
// the toolkit has told what the input did to the widgets ("checked"): a
// screen reader cuts what it is saying short for what it hears next, and the
// session's words are the ones worth hearing whole. The read-out's values are
// named with their whole lines ("∠Ａ = 41°") once no button holds the board,
// so that a drag does not hand a screen reader a change a step.
void DesktopWindow::tellScreenReader() {
    if (!readoutRenamed_ && !frame_.held) {
        nameReadoutLines();
    }
    if (!frame_.announcement.empty()) {
        QMetaObject::invokeMethod(
            this, [this, text = qString(frame_.announcement)] { announceOnBoard(gamen_, text); },
            Qt::QueuedConnection);
    }
}

void DesktopWindow::nameReadoutLines() {
    readoutRenamed_ = true;
    for (int i = 0; i < kVertexCount; ++i) {
        widget(controls::Label5[i])
            ->setAccessibleName(QString::fromStdString(session_.readoutLine(i)));
    }
}

// The keys that work anywhere in the window; the session says what each does.
void DesktopWindow::addShortcuts() {
    const std::pair<QKeySequence, std::pair<Key, bool>> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Z), {Key::Z, false}},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), {Key::Z, true}},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), {Key::Y, false}},
        {QKeySequence(Qt::CTRL | Qt::Key_S), {Key::S, false}},
        {QKeySequence(Qt::CTRL | Qt::Key_C), {Key::C, false}},
        {QKeySequence(Qt::CTRL | Qt::Key_P), {Key::P, false}},
        {QKeySequence(Qt::CTRL | Qt::Key_O), {Key::O, false}},
    };
    for (const auto& [sequence, key] : keys) {
        auto* shortcut = new QShortcut(sequence, this);
        connect(shortcut, &QShortcut::activated, this, [this, key = key] {
            switch (session_.shortcut(key.first, key.second)) {
            case KeyResult::SavePicture:
                savePicture();
                break;
            case KeyResult::CopyPicture:
                copyPicture();
                break;
            case KeyResult::PrintPicture:
                printPicture();
                break;
            case KeyResult::OpenBoard:
                chooseBoard();
                break;
            default:
                sync();
                break;
            }
        });
    }
}

QImage DesktopWindow::picture() {
    return grab().toImage();
}

QByteArray DesktopWindow::pictureWithBoard() {
    return orvanel::pictureWithBoard(picture(), writeBoard(model()), Packing::Small);
}

void DesktopWindow::savePicture() {
    const QString name =
        QDateTime::currentDateTime().toString(QStringLiteral("'orvanel-'yyyyMMdd-HHmmss'.png'"));
    const QString suggested = QDir(picturesFolder()).filePath(name);
    const QString file = saveDialog_ ? saveDialog_(this, suggested)
                                     : QFileDialog::getSaveFileName(this, QString(), suggested,
                                                                    QStringLiteral("PNG (*.png)"));
    if (file.isEmpty()) {
        return;
    }
    const QByteArray png = pictureWithBoard();
    if (png.isEmpty() || !writeWholeFile(file, png)) {
        tell(Notice::SaveFailed);
    }
}

// The board as it is now, in this window's file among the kept boards: the
// window's picture and the board's data are taken now, and written away
// from the window.
void DesktopWindow::keepBoard() {
    kept_.keep(picture(), writeBoard(model()));
}

std::optional<Notice> DesktopWindow::openFile(const QString& path) {
    const std::optional<QByteArray> file = readFile(path, qint64(kLargestBoardFile));
    if (!file) {
        return Notice::ReadFailed;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file->constData());
    if (std::optional<Notice> problem = session_.openBoard({bytes, std::size_t(file->size())})) {
        return problem;
    }
    // A kept board opened is in its file already: this window keeps no copy
    // of it until it changes.
    if (KeptBoards::isKept(path)) {
        session_.takeKeepDue();
    }
    sync();
    return std::nullopt;
}

void DesktopWindow::openAndTell(const QString& path) {
    if (const std::optional<Notice> problem = openFile(path)) {
        tell(*problem);
    }
}

void DesktopWindow::chooseBoard() {
    BoardChooser chooser(openFileDialog_, this);
    if (chooser.exec() == QDialog::Accepted) {
        openAndTell(chooser.chosen());
    }
}

// A file dropped anywhere on the window opens; of several, the first.
void DesktopWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.front().isLocalFile()) {
        event->acceptProposedAction();
    }
}

// The drop is answered first and the file opened after it, so that a notice
// never holds up the program the file was dragged from.
void DesktopWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) {
        return;
    }
    event->acceptProposedAction();
    QMetaObject::invokeMethod(
        this, [this, path = urls.front().toLocalFile()] { openAndTell(path); },
        Qt::QueuedConnection);
}

void DesktopWindow::copyPicture() {
    // The platform takes the picture without a word: what its clipboard
    // holds afterwards tells whether it took it.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard) {
        clipboard->setImage(picture());
    }
    const QMimeData* held = clipboard ? clipboard->mimeData() : nullptr;
    if (!held || !held->hasImage()) {
        tell(Notice::CopyFailed);
    }
}

// The picture fitted to one landscape page, centred.
void DesktopWindow::printPicture() {
    const QImage image = picture();
    QPrinter printer;
    printer.setPageOrientation(QPageLayout::Landscape);
    const bool chosen = printDialog_ ? printDialog_(this, printer)
                                     : QPrintDialog(&printer, this).exec() == QDialog::Accepted;
    if (!chosen) {
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        tell(Notice::PrintFailed);
        return;
    }
    const QRect page = painter.viewport();
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x() + (page.width() - size.width()) / 2,
                        page.y() + (page.height() - size.height()) / 2, size.width(),
                        size.height());
    painter.setWindow(image.rect());
    painter.drawImage(0, 0, image);
}

// The notice's text in the window's language, the English beneath it.
void DesktopWindow::tell(Notice notice) {
    if (noticeBox_) {
        noticeBox_(this, notice);
        return;
    }
    const NoticeText& text = noticeText(notice);
    QMessageBox::warning(this, windowTitle(),
                         qString(text.japanese) + QStringLiteral("\n\n") + qString(text.english));
}

void DesktopWindow::closeEvent(QCloseEvent* event) {
    // The program ends at once: nothing to ask, and nothing to save but the
    // board kept after the last action, if it is still being written.
    kept_.finish();
    event->accept();
}

} // namespace orvanel
