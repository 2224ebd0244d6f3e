// SPDX-License-Identifier: MIT
// A child at the board: a long seeded random session of presses, moves and
// releases of every button anywhere (also far off the board, also releases
// without presses and two buttons at once), and clicks on every button, box
// and option button, checking after every event what must always hold. A
// failure is shrunk to a short sequence that still fails, and printed with
// the seed.
#include "ascii_image.h"
#include "window_fixture.h"

#include "figure/angles.h"
#include "tools/straight_lines.h"

#include <QElapsedTimer>
#include <QTest>

#include <functional>

using namespace orvanel;
using namespace orvanel::test;

namespace {

struct Event {
    enum Kind { Press, Move, Release, Click } kind;
    int code;    // button code 1, 2, 4 for the mouse; the control's number for a click
    QPointF pos; // board position of a mouse event
};

QString describe(const Event& e) {
    static const char* kinds[] = {"press", "move", "release", "click"};
    if (e.kind == Event::Click) {
        return QStringLiteral("click control %1").arg(e.code);
    }
    return QStringLiteral("%1 button %2 at (%3, %4)")
        .arg(kinds[e.kind])
        .arg(e.code)
        .arg(e.pos.x(), 0, 'g', 10)
        .arg(e.pos.y(), 0, 'g', 10);
}

// Plays events on a fresh window, checking after each one.
class Session {
public:
    Session() : window_(std::make_unique<Form1>()) {
        measureAngles(window_->state().figure, dirs_);
        controls_ = {window_->Command1(), window_->Command3(), window_->Command4(),
                     window_->Command5(), window_->Check2(),   window_->Check3()};
        for (int i = 0; i < 5; ++i) {
            controls_.push_back(window_->Check1(i));
        }
        for (int i = 0; i < 8; ++i) {
            controls_.push_back(window_->Option1(i));
        }
        for (int i = 0; i < 4; ++i) {
            controls_.push_back(window_->Option2(i));
        }
    }
    int controlCount() const { return int(controls_.size()); }
    const Form1& window() const { return *window_; }

    // Returns what went wrong, or an empty string.
    QString play(const Event& e) {
        QElapsedTimer timer;
        timer.start();
        const auto button = [](int code) {
            return code == kLeftButton    ? Qt::LeftButton
                   : code == kRightButton ? Qt::RightButton
                                          : Qt::MiddleButton;
        };
        switch (e.kind) {
        case Event::Press:
            held_ |= button(e.code);
            sendMouse(*window_, QEvent::MouseButtonPress, e.pos, button(e.code), held_);
            break;
        case Event::Move:
            sendMouse(*window_, QEvent::MouseMove, e.pos, Qt::NoButton, held_);
            break;
        case Event::Release:
            held_ &= ~Qt::MouseButtons(button(e.code));
            sendMouse(*window_, QEvent::MouseButtonRelease, e.pos, button(e.code), held_);
            break;
        case Event::Click:
            controls_[e.code]->click(); // does nothing while the control is disabled
            break;
        }
        if (timer.elapsed() > 1000) {
            return QStringLiteral("the event took %1 ms").arg(timer.elapsed());
        }
        return check();
    }

private:
    QString check() {
        const Form1& w = *window_;
        const WindowState& v = w.state();
        int selected = 0;
        for (int i = 0; i < 8; ++i) {
            selected += w.Option1(i)->isChecked();
            if (w.Option1(i)->isEnabled() != (v.memoOn == 1)) {
                return QStringLiteral("Option1(%1) enabled %2 with memoOn %3")
                    .arg(i)
                    .arg(w.Option1(i)->isEnabled())
                    .arg(v.memoOn);
            }
        }
        for (int i = 0; i < 4; ++i) {
            selected += w.Option2(i)->isChecked();
            if (w.Option2(i)->isEnabled() != (v.lineMode == 1)) {
                return QStringLiteral("Option2(%1) enabled %2 with lineMode %3")
                    .arg(i)
                    .arg(w.Option2(i)->isEnabled())
                    .arg(v.lineMode);
            }
        }
        if (selected > 1) {
            return QStringLiteral("%1 option buttons selected").arg(selected);
        }
        if (v.memoOn == 1 && v.lineMode == 1) {
            return QStringLiteral("memo pen and line tool both on");
        }
        if (w.Command3()->font().bold() != (v.memoOn == 1) ||
            w.Command4()->font().bold() != (v.gridShown == 1) ||
            w.Command5()->font().bold() != (v.lineMode == 1)) {
            return QStringLiteral("a tool button's weight disagrees with its tool");
        }
        const BoardLayer& l = w.layer();
        for (const auto* row : {&l.line2, &l.line3}) {
            for (const LineObject& line : *row) {
                if (line.visible != (v.gridShown == 1)) {
                    return QStringLiteral("a grid line's visibility disagrees with gridShown");
                }
            }
        }
        if (v.lineMode == 1 && (v.nextLineNumber < 1 || v.nextLineNumber > 5)) {
            return QStringLiteral("nextLineNumber %1 while the line tool is on")
                .arg(v.nextLineNumber);
        }
        for (int i = 0; i < kLineCount; ++i) {
            const bool drawn = v.lineDrawing == 1 && i == v.nextLineNumber - 1;
            const LineObject& line = l.line4[i];
            if (!drawn && !w.Check1(i)->isChecked() &&
                (line.p1.x() != kParkedX || line.p2.x() != kParkedX)) {
                return QStringLiteral("line %1 is unticked but not parked").arg(i + 1);
            }
        }
        if (v.dragVertex != kNoVertex && v.dragVertex != kVertexA && v.dragVertex != kVertexD) {
            return QStringLiteral("dragVertex %1").arg(v.dragVertex);
        }
        // A gesture belongs to its tool: no vertex is held while another tool
        // is on, no pen is down without the memo pen, no line is stretched
        // without the line tool.
        if (v.dragVertex != kNoVertex && (v.memoOn == 1 || v.lineMode == 1)) {
            return QStringLiteral("vertex %1 held while another tool is on").arg(v.dragVertex);
        }
        if (v.penDown == 1 && v.memoOn == 0) {
            return QStringLiteral("the pen is down with the memo pen off");
        }
        if (v.lineDrawing == 1 && v.lineMode == 0) {
            return QStringLiteral("a line is being stretched with the line tool off");
        }
        const FigureState& f = v.figure;
        const QPointF vertices[4] = {f.a(), f.b(), f.c(), f.d()};
        for (int i = 0; i < 4; ++i) {
            const QPointF offset = l.label2[i].topLeft - vertices[i];
            const QPointF expected = kLetterOffsets[i];
            const double slack =
                1e-9 * std::max({1.0, std::abs(vertices[i].x()), std::abs(vertices[i].y())});
            if (std::abs(offset.x() - expected.x()) > slack ||
                std::abs(offset.y() - expected.y()) > slack) {
                return QStringLiteral("letter %1 left its vertex").arg(i);
            }
            if (l.line1[i].p1 != vertices[i] || l.line1[i].p2 != vertices[(i + 1) % 4]) {
                return QStringLiteral("side %1 does not run between its vertices").arg(i);
            }
        }
        const std::array<int, 4> shown = measureAngles(f, dirs_);
        for (int i = 0; i < 4; ++i) {
            if (w.Label5(i)->text() != angleCaption(shown[i])) {
                return QStringLiteral("read-out %1 shows '%2', the figure measures %3")
                    .arg(i)
                    .arg(w.Label5(i)->text())
                    .arg(shown[i]);
            }
        }
        return QString();
    }

    std::unique_ptr<Form1> window_;
    std::vector<QAbstractButton*> controls_;
    Qt::MouseButtons held_;
    Directions dirs_; // measured alongside the window's, kept across coincidences
};

// The index of the event after which a fresh session fails, or -1.
int firstFailure(const std::vector<Event>& events, QString* what = nullptr) {
    Session session;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const QString problem = session.play(events[i]);
        if (!problem.isEmpty()) {
            if (what) {
                *what = problem;
            }
            return int(i);
        }
    }
    return -1;
}

// Removes chunks of ever smaller size while the sequence still fails.
std::vector<Event> shrink(std::vector<Event> events) {
    for (std::size_t chunk = events.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t start = 0; start + chunk <= events.size();) {
            std::vector<Event> candidate(events.begin(), events.begin() + start);
            candidate.insert(candidate.end(), events.begin() + start + chunk, events.end());
            const int failure = firstFailure(candidate);
            if (failure >= 0) {
                candidate.resize(failure + 1);
                events = std::move(candidate);
            } else {
                start += chunk;
            }
        }
    }
    return events;
}

} // namespace

class RandomSessionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { setUpTestToolkit(); }
    void invariantsHoldThroughARandomSession();
};

void RandomSessionTest::invariantsHoldThroughARandomSession() {
    const quint32 seed = qEnvironmentVariableIsSet("ORVANEL_SEED")
                             ? quint32(qEnvironmentVariableIntValue("ORVANEL_SEED"))
                             : 20261208u;
    const int count = qEnvironmentVariableIsSet("ORVANEL_RANDOM_EVENTS")
                          ? qEnvironmentVariableIntValue("ORVANEL_RANDOM_EVENTS")
                          : 200'000;
    QRandomGenerator rng(seed);
    Session session;
    const auto somewhere = [&]() -> QPointF {
        const int where = rng.bounded(100);
        if (where < 55) { // on the board
            return {uniform(rng, 0, 802), uniform(rng, 0, 626)};
        }
        if (where < 75) { // near A or D, wherever they are, so that drags happen
            const FigureState& f = session.window().state().figure;
            return (rng.bounded(2) ? f.a() : f.d()) +
                   QPointF(uniform(rng, -60, 60), uniform(rng, -60, 60));
        }
        if (where < 92) { // just outside
            return {uniform(rng, -100, 902), uniform(rng, -100, 726)};
        }
        return {uniform(rng, -100'000, 100'000), uniform(rng, -100'000, 100'000)};
    };
    const int buttons[3] = {kLeftButton, kRightButton, kMiddleButton};
    std::vector<Event> events;
    events.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int kind = rng.bounded(100);
        Event e{};
        if (kind < 10) {
            e = {Event::Press, buttons[rng.bounded(kind < 8 ? 1 : 3)], somewhere()};
        } else if (kind < 82) {
            e = {Event::Move, 0, somewhere()};
        } else if (kind < 94) {
            e = {Event::Release, buttons[rng.bounded(kind < 92 ? 1 : 3)], somewhere()};
        } else {
            e = {Event::Click, rng.bounded(session.controlCount()), {}};
        }
        // Moves mostly follow on from the last position, a few pixels on.
        if (e.kind == Event::Move && !events.empty() && rng.bounded(4) != 0) {
            e.pos = events.back().pos + QPointF(uniform(rng, -15, 15), uniform(rng, -15, 15));
        }
        events.push_back(e);
        const QString problem = session.play(e);
        if (!problem.isEmpty()) {
            const std::vector<Event> shortest = shrink(events);
            QString what;
            firstFailure(shortest, &what);
            QString report = QStringLiteral("seed %1, event %2: %3\nshortest failing sequence "
                                            "(%4 events), each on a fresh window:\n")
                                 .arg(seed)
                                 .arg(i)
                                 .arg(what.isEmpty() ? problem : what)
                                 .arg(shortest.size());
            for (const Event& s : shortest) {
                report += QStringLiteral("  %1\n").arg(describe(s));
            }
            QFAIL(qPrintable(report));
        }
    }
    qInfo("seed %u: %d events (%ld of them drag steps), invariants held after each", seed, count,
          session.window().dragSteps());
}

QTEST_MAIN(RandomSessionTest)
#include "test_random_session.moc"
