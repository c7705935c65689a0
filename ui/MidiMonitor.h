#pragma once

#include "ui/MonitorDecoder.h"

#include <QWidget>

#include <array>
#include <deque>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

// The MIDI monitor: every message Orvan was given and sent, in plain words with its time. It
// keeps the last kMaxLines lines and shows those the filters let through. While paused the
// shown lines stand still; new lines are kept aside (within the same bound) and shown on
// resuming. It only reads what the window hands it.
class MidiMonitor : public QWidget {
public:
    static constexpr int kMaxLines = 2000;

    explicit MidiMonitor(uint32_t sampleRate = 48000, QWidget* parent = nullptr);

    // Lines a look at the engine adds at most: more than anyone reads, few enough for the window
    // to keep up with any flood.
    static constexpr size_t kLinesAtOnce = 50;

    // One message from EngineRunner::TakeMonitored(), and the pads' state it met.
    void take(const MonitoredMessage& message, const ControllerState& pads);
    // What one look at the engine found, oldest first, and how many messages the engine could
    // not keep for it: only the newest kLinesAtOnce become lines, the others are counted in one.
    void take(const std::vector<MonitoredMessage>& messages, const ControllerState& pads,
              uint64_t notKept);
    // The shown lines as text, one a line, as "Copy" puts them on the clipboard.
    QString shownText() const;

    QPushButton* btnPause = nullptr; // checkable
    QPushButton* btnClear = nullptr;
    QPushButton* btnCopy = nullptr;
    QCheckBox* chkIn = nullptr;
    QCheckBox* chkOut = nullptr;
    std::array<QCheckBox*, kMonitorKinds> chkKinds{}; // in the order of MonitorKind
    QPlainTextEdit* lines = nullptr;

private:
    void add(MonitorLine line);
    bool shows(const MonitorLine& line) const;
    void showKept();
    void clear();

    MonitorDecoder decoder_;
    std::deque<MonitorLine> kept_;
};
