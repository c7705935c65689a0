#pragma once

#include "ui/MonitorDecoder.h"

#include <QWidget>

#include <array>
#include <deque>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The MIDI monitor: every message Orvan was given and sent, with the time of day, its bytes and
// in plain words. It keeps the last kMaxLines lines and shows those the filters let through;
// a line too long for the pane wraps, and its tooltip gives every kept byte. While paused the
// shown lines stand still and say so; new lines are kept aside (within the same bound) and shown
// on resuming. It only reads what the window hands it.
class MidiMonitor : public QWidget {
public:
    static constexpr int kMaxLines = 2000;

    explicit MidiMonitor(uint32_t sampleRate = 48000, QWidget* parent = nullptr);

    // Lines a look at the engine adds at most: more than anyone reads, few enough for the window
    // to keep up with any flood.
    static constexpr size_t kLinesAtOnce = 50;

    // The time of day now, in ms since midnight; tests set their own.
    std::function<int64_t()> clock;

    // One message from EngineRunner::TakeMonitored(), and the pads' state it met, as of now.
    void take(const MonitoredMessage& message, const ControllerState& pads);
    // What one look at the engine found, oldest first, and how many messages the engine could
    // not keep for it: only the newest kLinesAtOnce become lines, the others are counted in one.
    // The newest is taken as of now, the others as many ms before as their frames say.
    void take(const std::vector<MonitoredMessage>& messages, const ControllerState& pads,
              uint64_t notKept);
    // The shown lines as text, one a line, as "Copy" puts them on the clipboard.
    QString shownText() const;
    // The shown lines with every kept byte into a text file ("Save..."); false when it cannot
    // be written.
    bool saveTo(const QString& path) const;

    QPushButton* btnPause = nullptr; // checkable
    QPushButton* btnClear = nullptr;
    QPushButton* btnCopy = nullptr;
    QPushButton* btnSave = nullptr;
    QLabel* paused = nullptr; // shown while paused, with how many lines wait
    QCheckBox* chkIn = nullptr;
    QCheckBox* chkOut = nullptr;
    QComboBox* cmbChannel = nullptr;                  // "All channels", then channels 1 to 16
    std::array<QCheckBox*, kMonitorKinds> chkKinds{}; // in the order of MonitorKind
    QPlainTextEdit* lines = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void add(MonitorLine line);
    bool shows(const MonitorLine& line) const;
    void showKept();
    void showPaused();
    void clear();
    void save();

    uint32_t sampleRate_;
    MonitorDecoder decoder_;
    std::deque<MonitorLine> kept_;
    std::deque<QString> shownFull_; // the shown lines with every kept byte, for tooltips and saves
    int waiting_ = 0;               // lines kept aside while paused
};
