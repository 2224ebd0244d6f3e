// Form1, the program's one window: every control of the design, the window's
// variables, and the handlers that the controls' events reach.
#pragma once

#include "app/window_state.h"
#include "figure/dragging.h"
#include "platform/board_layer.h"
#include "platform/board_view.h"
#include "platform/raster_surface.h"

#include <QWidget>

#include <array>
#include <functional>
#include <span>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace orvanel {

class Form1 : public QWidget, public PointerSink {
    Q_OBJECT

public:
    // Receives the name of every handler as it starts, nested calls included;
    // lets a test see the order in which handlers run.
    using HandlerTrace = std::function<void(const QString& handler)>;

    // Builds the designed controls and runs Form_Load.
    explicit Form1(HandlerTrace trace = {}, QWidget* parent = nullptr);
    ~Form1() override;

    // Controls, by the names and row indexes of the design.
    BoardFrame* gamen() const { return gamen_; }
    BoardCanvas* board() const { return gamen_->canvas(); }
    QLabel* Label1() const { return label1_; }
    QLabel* Label3(int i) const { return label3_[i]; }
    QLabel* Label4(int i) const { return label4_[i]; }
    QLabel* Label5(int i) const { return label5_[i]; }
    QLabel* Label6(int i) const { return label6_[i]; }
    QPushButton* Command1() const { return command1_; }
    QPushButton* Command2() const { return command2_; }
    QPushButton* Command3() const { return command3_; }
    QPushButton* Command4() const { return command4_; }
    QPushButton* Command5() const { return command5_; }
    QRadioButton* Option1(int i) const { return option1_[i]; }
    QRadioButton* Option2(int i) const { return option2_[i]; }
    QCheckBox* Check1(int i) const { return check1_[i]; }
    QCheckBox* Check2() const { return check2_; }
    QCheckBox* Check3() const { return check3_; }

    const WindowState& state() const { return v_; }
    const RasterSurface& surface() const { return surface_; }
    const BoardLayer& layer() const { return layer_; }

    // Number of drag steps performed since start-up.
    long dragSteps() const { return dragSteps_; }

    // Handlers of the controls' events.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Check1_Click(int index);
    void Check2_Click();
    void Option1_Click(int index);
    void Option2_Click(int index);
    void gamen_MouseDown(int button, int shift, float x, float y);
    void gamen_MouseMove(int button, int shift, float x, float y);
    void gamen_MouseUp(int button, int shift, float x, float y);

    // Routines of the window.
    void InitialScreen();
    void MeasureAngles();
    void DrawFigure();

signals:
    // The angle read-out's captions changed.
    void readoutChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void boardMouseDown(int button, int shift, float x, float y) override;
    void boardMouseMove(int button, int shift, float x, float y) override;
    void boardMouseUp(int button, int shift, float x, float y) override;

    void buildControls();
    void buildTabOrder();
    void Form_Load();
    void trace(const QString& handler) const;
    void setAngleCaption(int index, int value);
    void switchLineToolOff();
    // Ends whatever the pointer was doing on the board: a drag, a stroke, a
    // line being stretched. With the mouse alone, a tool is switched or the
    // board reset only after a release; from the keyboard it can happen while
    // a button is still held on the board, and the held vertex, pen or
    // unfinished line must not outlive the tool that had it.
    void endGestures();
    void dragStep(float x, float y);
    void startLine(float x, float y);
    void finishLine(float x, float y);
    void refreshBoard();
    // A tool button shows its caption bold while its tool is on.
    static void setCaptionBold(QPushButton* button, bool bold);
    static void setRowEnabled(std::span<QRadioButton* const> row, bool enabled);

    HandlerTrace trace_;
    WindowState v_;
    RasterSurface surface_;
    BoardLayer layer_;
    std::array<double, 4> captionValues_{};          // Label5 captions read as numbers
    std::array<int, 4> shownAngles_{-1, -1, -1, -1}; // the values the captions show
    DragAnchor dragAnchor_;
    long dragSteps_ = 0;

    BoardFrame* gamen_ = nullptr;
    QLabel* label1_ = nullptr;
    std::array<QLabel*, 4> label3_{};
    std::array<QLabel*, 2> label4_{};
    std::array<QLabel*, 4> label5_{};
    std::array<QLabel*, 4> label6_{};
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* command5_ = nullptr;
    std::array<QRadioButton*, 8> option1_{};
    std::array<QRadioButton*, 4> option2_{};
    std::array<QCheckBox*, 5> check1_{};
    QCheckBox* check2_ = nullptr;
    QCheckBox* check3_ = nullptr;
    QButtonGroup* options_ = nullptr;
};

} // namespace orvanel
