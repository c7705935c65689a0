#pragma once

#include "engine/ControllerState.h"
#include "host/EngineSnapshot.h"
#include "host/MonitoredMessage.h"
#include "ui/ControllerLayout.h"
#include "ui/ControllerLights.h"
#include "ui/ControllerReports.h"
#include "ui/PadLegend.h"

#include <QTransform>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QKeyEvent;
class QMenu;
class QPainter;

// The controller on screen. It shows what the controller shows, decoded from the messages Orvan
// sends it: the pads lit or dark, the button LEDs, the display and the bank; from the engine's
// state it adds each pad's mode and what it sends in the shown bank. It also plays as the
// controller does: the mouse on pads, buttons, knobs, XY pad, jog wheel and pedal, and the keys
// 1234 / QWER / ASDF / ZXCV on the pads, make the controller's own reports, which go out
// through the input sink to the engine's input path. A click on a mode or bank button holds it
// until the next click, so that one mouse can assign modes. It only reads what the window hands
// it.
class ControllerView : public QWidget {
public:
    using InputSink = std::function<void(std::vector<uint8_t> bytes)>;
    // A pad's mode chosen from its menu: the bank shown, the pad and the mode as the engine
    // stores it ("FLASH", "TOGGLE", ...).
    using ModeSink = std::function<void(int bank, int pad, const std::string& mode)>;
    using Part = ControllerLayout::Part;
    // A part clicked, chosen for the mapping editor.
    using SelectSink = std::function<void(Part part)>;

    // How long a released key may wait for the press that makes it a repeat: the two come
    // together, well within the fastest repeat rate.
    static constexpr int kRepeatPairMs = 20;

    explicit ControllerView(QWidget* parent = nullptr);

    // Where the bytes of the screen's reports and XY-pad moves go (EngineRunner::PostInput).
    void setInputSink(InputSink sink) { sink_ = std::move(sink); }
    void setSelectSink(SelectSink sink) { selectSink_ = std::move(sink); }
    void setModeSink(ModeSink sink) { modeSink_ = std::move(sink); }
    // A pad's right-click menu: its modes in plain words, the current one checked.
    std::unique_ptr<QMenu> padModeMenu(int pad);
    // One message from EngineRunner::TakeMonitored(); only those sent to the controller count.
    void take(const MonitoredMessage& message);
    // The engine's newest state: pad modes and outputs, knob positions.
    void showState(const EngineSnapshot& snapshot);

    const ControllerLights& lights() const { return lights_; }
    // The bank the pads show: the lit bank button's, else the engine's current one.
    int shownBank() const;
    PadLegend legend(int pad) const { return shown_.legends.at(pad).at(shownBank()); }
    bool padRepeats(int pad) const { return shown_.repeating.at(pad); }
    // The pedal (-1) or note button n taken by note repeat: "REPEAT", "TAP", or nullptr.
    const char* takenByRepeat(int noteButton) const;
    // A pad key pressed or released anywhere in the window: true when it played (or was a
    // repeat of) a pad, false for any other key.
    bool playKey(QKeyEvent* event);
    // The mode or bank button a click holds until the next click on it, if any.
    std::optional<int> latchedButton() const { return latched_; }
    // What a part is and does, as its tooltip says it.
    QString tipFor(Part part) const;
    // From the canvas of ControllerLayout to this widget.
    QTransform canvasToWidget() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Shown {
        std::array<std::array<PadLegend, ControllerState::kBanks>, ControllerState::kPads> legends;
        std::array<int, 2> knobs{};
        int bank = 0;
        std::array<bool, ControllerState::kPads> repeating{}; // held pads note repeat plays
        std::array<RepeatJob, 1 + kRepeatNoteButtons> jobs{}; // the pedal's, the note buttons
        bool operator==(const Shown&) const = default;
    };

    void send(std::vector<uint8_t> bytes);
    void sendReport(const Report& report);
    void turnKnob(int knob, int position);
    void stepJogWheel(int steps);
    void moveXY(QPointF point);
    void releaseKey(int pad);
    void releaseKeys();
    // A click on a mode or bank button holds it (and lets go of another held one), or lets it go.
    void clickLatch(int button);
    bool held(Part part) const;

    // Painting (ui/controllerViewPaint.cpp)
    void paintPad(QPainter& p, int pad) const;
    void paintButton(QPainter& p, int button) const;
    void paintDisplay(QPainter& p) const;
    void paintKnob(QPainter& p, int knob) const;
    void paintXYPad(QPainter& p) const;
    void paintJogWheel(QPainter& p) const;
    void paintPedal(QPainter& p) const;
    void paintModeLegend(QPainter& p) const;

    InputSink sink_;
    SelectSink selectSink_;
    ModeSink modeSink_;
    ControllerLights lights_;
    Shown shown_{};

    // What the screen plays
    Part mouseHeld_;
    QPointF dragFrom_;
    int dragKnobFrom_ = 0;
    std::array<bool, ControllerState::kPads> keyHeld_{};
    // The time stamp of a key's release that waits to be known as no repeat.
    std::array<std::optional<unsigned long>, ControllerState::kPads> releasing_{};
    std::array<int, 2> xy_{-1, -1}; // last sent, -1 before the first move
    int jogTurn_ = 0;               // steps taken, for the wheel's mark
    int wheelRest_ = 0;             // wheel angle not yet a whole notch
    std::optional<int> latched_;    // a mode or bank button held by a click
};
