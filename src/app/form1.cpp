#include "app/form1.h"

#include "app/design.h"
#include "figure/angles.h"
#include "figure/dragging.h"
#include "figure/draw_figure.h"
#include "platform/palette.h"
#include "platform/toolkit.h"
#include "tools/grid.h"
#include "tools/memo_pen.h"
#include "tools/straight_lines.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <map>

namespace orvanel {

namespace {

const QColor kWindowColor(192, 255, 192);
const QColor kBoardGreen(0, 128, 0);

void setColors(QWidget* widget, const QColor& background, const QColor& text) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Button, background);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A label that sizes itself to its text keeps its left edge.
void sizeToText(QLabel* label) {
    label->resize(label->sizeHint());
}

// A read-out value is aligned right and keeps its right edge. Its box is fixed
// at the size of the widest value, " 360": on the window's own background
// that looks the same as a box sized to each value, and a new value then
// needs no new layout.
void fixReadoutBox(QLabel* label) {
    const int right = label->geometry().right();
    const QString design = label->text();
    label->setText(angleCaption(360));
    const QSize widest = label->sizeHint();
    label->setText(design);
    label->setFixedSize(widest);
    label->move(right + 1 - widest.width(), label->y());
}

} // namespace

void Form1::setRowEnabled(std::span<QRadioButton* const> row, bool enabled) {
    for (QRadioButton* option : row) {
        option->setEnabled(enabled);
    }
}

void Form1::setCaptionBold(QPushButton* button, bool bold) {
    QFont font = button->font();
    if (font.bold() != bold) {
        font.setBold(bold);
        button->setFont(font);
    }
}

Form1::Form1(HandlerTrace trace, QWidget* parent)
    : QWidget(parent), trace_(std::move(trace)), layer_(designBoardLayer()) {
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(kWindowWidth, kWindowHeight);
    setColors(this, kWindowColor, palette().color(QPalette::WindowText));
    buildControls();
    buildTabOrder();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::buildControls() {
    gamen_ = new BoardFrame(surface_, layer_, this);
    gamen_->move(kBoardLeft, kBoardTop);
    gamen_->setFocusPolicy(Qt::StrongFocus);
    // What a screen reader says when the board takes the focus.
    gamen_->setAccessibleName(QStringLiteral("Board"));
    gamen_->setAccessibleDescription(
        QStringLiteral("The wedge A, B, C, D; drag A or D to change its angles"));
    board()->setPointerSink(this);
    // The vertex letters Label2(0..3) lie on the board as light objects.
    board()->setLetterLook(designFont(kMinchoFace, 21.75, true), Qt::white, kBoardGreen);

    options_ = new QButtonGroup(this);
    options_->setExclusive(true);
    for (const ControlDesign& c : windowControls()) {
        const QString caption = QString::fromUtf16(c.caption);
        const QString name = QString::fromLatin1(c.name);
        QWidget* widget = nullptr;
        switch (c.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(caption, this);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            if (name == u"Label1") {
                label1_ = label;
                label->setFont(designFont(kGothicFace, 24, true));
                setColors(label, kBoardGreen, QColor(0, 255, 0));
            } else if (name == u"Label3") {
                label3_[c.index] = label;
                label->setFont(designFont(kGothicFace, 20.25));
                setColors(label, kWindowColor,
                          c.index == 3 ? QColor(255, 0, 0) : QColor(64, 64, 64));
            } else if (name == u"Label4") {
                label4_[c.index] = label;
                setColors(label, kWindowColor, Qt::black);
            } else if (name == u"Label5") {
                label5_[c.index] = label;
                label->setFont(designFont(kGothicFace, 27.75));
                label->setAlignment(Qt::AlignRight | Qt::AlignTop);
                label->setTextFormat(Qt::PlainText);
                setColors(label, kWindowColor, Qt::black);
                // The value alone (" 41") does not say which angle it is.
                // Its name stays the text, so a new value is announced.
                label->setAccessibleDescription(
                    QStringLiteral("Angle %1 in degrees").arg(QChar(u'A' + c.index)));
            } else if (name == u"Label6") {
                label6_[c.index] = label;
                label->setFont(designFont(kGothicFace, 20.25, true));
                setColors(label, kWindowColor, Qt::black);
            }
            break;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(caption, this);
            button->setFont(designFont(kGothicFace, 12));
            button->setAutoDefault(false);
            widget = button;
            QPushButton** buttonFields[] = {&command1_, &command2_, &command3_, &command4_,
                                            &command5_};
            const int number = c.name[7] - '1';
            *buttonFields[number] = button;
            static constexpr void (Form1::*handlers[])() = {
                &Form1::Command1_Click, &Form1::Command2_Click, &Form1::Command3_Click,
                &Form1::Command4_Click, &Form1::Command5_Click};
            connect(button, &QPushButton::clicked, this, handlers[number]);
            break;
        }
        case ControlKind::OptionButton: {
            auto* option = new QRadioButton(caption, this);
            widget = option;
            const bool penRow = name == u"Option1";
            (penRow ? option1_[c.index] : option2_[c.index]) = option;
            options_->addButton(option, penRow ? c.index : 8 + c.index);
            break;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(caption, this);
            widget = box;
            if (name == u"Check1") {
                check1_[c.index] = box;
                const int index = c.index;
                connect(box, &QCheckBox::toggled, this, [this, index] { Check1_Click(index); });
            } else if (name == u"Check2") {
                check2_ = box;
                connect(box, &QCheckBox::toggled, this, &Form1::Check2_Click);
            } else {
                check3_ = box;
            }
            break;
        }
        }
        widget->setObjectName(c.index < 0 ? name : QStringLiteral("%1_%2").arg(name).arg(c.index));
        widget->setGeometry(c.left, c.top, c.width, c.height);
        if (c.kind == ControlKind::OptionButton || c.kind == ControlKind::CheckBox) {
            setColors(widget, kWindowColor, palette().color(QPalette::WindowText));
        }
        if (name == u"Label5") {
            fixReadoutBox(static_cast<QLabel*>(widget));
        } else if (auto* label = qobject_cast<QLabel*>(widget); label && name != u"Label6") {
            sizeToText(label);
        }
    }
    connect(options_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            id < 8 ? Option1_Click(id) : Option2_Click(id - 8);
        }
    });
    for (int i = 0; i < 4; ++i) {
        captionValues_[i] = captionValue(label5_[i]->text());
    }
}

void Form1::buildTabOrder() {
    std::map<int, QWidget*> byTab{{kBoardTab, gamen_}};
    for (const ControlDesign& c : windowControls()) {
        const QString name = c.index < 0 ? QString::fromLatin1(c.name)
                                         : QStringLiteral("%1_%2").arg(c.name).arg(c.index);
        auto* widget = findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        if (widget->focusPolicy() != Qt::NoFocus) {
            byTab[c.tab] = widget;
        }
    }
    QWidget* previous = nullptr;
    for (const auto& [tab, widget] : byTab) {
        if (previous) {
            setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

void Form1::trace(const QString& handler) const {
    if (trace_) {
        trace_(handler);
    }
}

void Form1::Form_Load() {
    trace(QStringLiteral("Form_Load"));
    setWindowTitle(QStringLiteral("Orvanel (by m.Quillon)"));
    // The window and the board measure in pixels throughout.
    surface_.setLineWidth(3);
    buildGrid(layer_);
    for (int i = 0; i < 4; ++i) {
        label3_[i]->hide();
        label5_[i]->hide();
        label6_[i]->hide();
    }
    v_.anglesShown = 0;
    v_.penColorIndex = kPaletteRed;
    v_.lineColorIndex = kPaletteWhite;
    option1_[kFirstPen]->setChecked(true);
    option2_[kWhiteLineOption]->setChecked(true);
    InitialScreen();
}

void Form1::InitialScreen() {
    trace(QStringLiteral("InitialScreen"));
    endGestures();
    surface_.setLineWidth(3);
    surface_.clear();
    layer_.setShapeVisible(false);
    setCaptionBold(command4_, false);
    setRowEnabled(option1_, false);
    setRowEnabled(option2_, false);
    for (QCheckBox* box : check1_) {
        box->setChecked(false);
    }
    setCaptionBold(command3_, false);
    setCaptionBold(command4_, false);
    setCaptionBold(command5_, false);
    v_.memoOn = 0;
    v_.lineMode = 0;
    v_.nextLineNumber = 0;
    v_.dragVertex = kNoVertex;
    v_.gridShown = 0;
    setGridVisible(layer_, false);
    v_.figure = FigureState{};
    MeasureAngles();
    DrawFigure();
    placeSidesAndLetters(v_.figure, layer_);
    for (LineObject& line : layer_.line4) {
        layer_.setX(line, kParkedX, kParkedX);
    }
    refreshBoard();
}

void Form1::setAngleCaption(int index, int value) {
    if (shownAngles_[index] == value) {
        return;
    }
    shownAngles_[index] = value;
    const QString caption = angleCaption(value);
    label5_[index]->setText(caption);
    captionValues_[index] = value; // what the caption reads as a number
}

void Form1::MeasureAngles() {
    trace(QStringLiteral("MeasureAngles"));
    const std::array<int, 4> shown = measureAngles(v_.figure, v_.dirs);
    for (int i = 0; i < 4; ++i) {
        setAngleCaption(i, shown[i]);
    }
    emit readoutChanged();
}

void Form1::DrawFigure() {
    trace(QStringLiteral("DrawFigure"));
    drawFigure(surface_, v_.figure, v_.dirs, captionValues_[1], captionValues_[2]);
}

void Form1::Check2_Click() {
    trace(QStringLiteral("Check2_Click"));
    if (v_.anglesShown != 0) {
        for (int i = 0; i < 4; ++i) {
            label3_[i]->setVisible(false);
            label5_[i]->setVisible(false);
            label6_[i]->setVisible(false);
        }
        v_.anglesShown = 0;
    } else {
        for (int i = 0; i < 4; ++i) {
            label3_[i]->setVisible(true);
            label5_[i]->setVisible(true);
            label6_[i]->setVisible(true);
        }
        MeasureAngles();
        v_.anglesShown = 1;
    }
}

void Form1::Command1_Click() {
    trace(QStringLiteral("Command1_Click"));
    InitialScreen();
}

void Form1::Command2_Click() {
    trace(QStringLiteral("Command2_Click"));
    close();
}

void Form1::closeEvent(QCloseEvent* event) {
    // The program ends at once: nothing to ask, nothing to save.
    event->accept();
}

void Form1::refreshBoard() {
    board()->sync();
}

} // namespace orvanel
