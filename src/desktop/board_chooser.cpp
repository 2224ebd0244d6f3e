// SPDX-License-Identifier: MIT
#include "desktop/board_chooser.h"

#include "desktop/board_files.h"
#include "desktop/toolkit.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvanel {

namespace {

// The window's picture is 917 x 687: its small picture is 160 x 120.
constexpr QSize kPictureSize{BoardChooser::kPictureWidth, BoardChooser::kPictureWidth * 3 / 4};
// Room for three pictures side by side, two rows of them.
constexpr int kColumns = 3;
constexpr int kRows = 2;

QIcon smallPicture(const QString& path) {
    QImageReader reader(path, "png");
    const QImage image = reader.read();
    if (image.isNull()) {
        return {};
    }
    const QPixmap picture = QPixmap::fromImage(
        image.scaled(kPictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    // The board selected shows its true colours: the list marks its time.
    QIcon icon(picture);
    icon.addPixmap(picture, QIcon::Selected);
    return icon;
}

} // namespace

BoardChooser::BoardChooser(FileDialog fileDialog, QWidget* parent)
    : QDialog(parent), fileDialog_(std::move(fileDialog)) {
    setObjectName(QStringLiteral("BoardChooser"));
    setWindowTitle(inBothLanguages(captions::kOpenTitle));

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("keptBoards"));
    list_->setAccessibleName(inBothLanguages(captions::kKeptBoards));
    list_->setViewMode(QListView::IconMode);
    list_->setMovement(QListView::Static);
    list_->setResizeMode(QListView::Adjust);
    list_->setWrapping(true);
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setIconSize(kPictureSize);
    const int line = list_->fontMetrics().height();
    const QSize cell = kPictureSize + QSize(16, line + 12);
    list_->setGridSize(cell);
    const int frame = 2 * list_->frameWidth();
    const int scrollBar = list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    list_->setMinimumSize(kColumns * cell.width() + frame + scrollBar + 4,
                          kRows * cell.height() + frame + 4);
    heading_ = new QLabel(inBothLanguages(captions::kKeptBoards), this);
    heading_->setBuddy(list_);
    none_ = new QLabel(qString(captions::kNoKeptBoards.japanese) + u'\n' +
                           qString(captions::kNoKeptBoards.english),
                       this);
    none_->setAlignment(Qt::AlignCenter);

    open_ = new QPushButton(inBothLanguages(captions::kOpen), this);
    open_->setObjectName(QStringLiteral("open"));
    openFile_ = new QPushButton(inBothLanguages(captions::kOpenFile), this);
    openFile_->setObjectName(QStringLiteral("openFile"));
    forget_ = new QPushButton(inBothLanguages(captions::kForgetKept), this);
    forget_->setObjectName(QStringLiteral("forget"));
    auto* cancel = new QPushButton(inBothLanguages(captions::kCancel), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    for (QPushButton* button : {openFile_, forget_, cancel}) {
        button->setAutoDefault(false);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(forget_);
    buttons->addStretch();
    buttons->addWidget(openFile_);
    buttons->addWidget(open_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(list_, 1);
    layout->addWidget(none_, 1);
    layout->addLayout(buttons);

    connect(open_, &QPushButton::clicked, this, &BoardChooser::openSelected);
    connect(list_, &QListWidget::itemDoubleClicked, this, &BoardChooser::openSelected);
    connect(openFile_, &QPushButton::clicked, this, &BoardChooser::openFile);
    connect(forget_, &QPushButton::clicked, this, &BoardChooser::forget);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    fill();
}

void BoardChooser::fill() {
    list_->clear();
    for (const KeptBoard& board : KeptBoards::list()) {
        auto* item = new QListWidgetItem(
            smallPicture(board.path),
            board.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), list_);
        item->setData(Qt::UserRole, board.path);
        item->setToolTip(board.path);
    }
    const bool any = list_->count() > 0;
    list_->setVisible(any);
    none_->setVisible(!any);
    open_->setEnabled(any);
    forget_->setEnabled(any);
    // Enter opens the newest board, or with none kept asks for a file.
    open_->setDefault(any);
    openFile_->setDefault(!any);
    if (any) {
        list_->setCurrentRow(0);
    }
    (any ? static_cast<QWidget*>(list_) : openFile_)->setFocus();
}

void BoardChooser::openSelected() {
    if (const QListWidgetItem* item = list_->currentItem()) {
        chosen_ = item->data(Qt::UserRole).toString();
        accept();
    }
}

void BoardChooser::openFile() {
    const QString folder = picturesFolder();
    const QString file = fileDialog_ ? fileDialog_(this, folder)
                                     : QFileDialog::getOpenFileName(this, QString(), folder,
                                                                    QStringLiteral("PNG (*.png)"));
    if (!file.isEmpty()) {
        chosen_ = file;
        accept();
    }
}

// A shared classroom computer: what one class kept goes at once, without a
// question.
void BoardChooser::forget() {
    KeptBoards::forget();
    fill();
}

} // namespace orvanel
