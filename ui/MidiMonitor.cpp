#include "ui/MidiMonitor.h"
#include "ui/FitToText.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTime>
#include <QToolTip>
#include <QVBoxLayout>

namespace {
constexpr int64_t kDayMs = 24 * 60 * 60 * 1000;

QCheckBox* filterBox(const char* caption, const char* help) {
    auto* box = new QCheckBox(QString::fromUtf8(caption));
    box->setChecked(true);
    box->setToolTip(QString::fromUtf8(help));
    return box;
}

QPushButton* action(const char* caption, const char* help) {
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setToolTip(QString::fromUtf8(help));
    FitToText(button);
    return button;
}
} // namespace

MidiMonitor::MidiMonitor(uint32_t sampleRate, QWidget* parent)
    : QWidget(parent), clock([] { return int64_t{QTime::currentTime().msecsSinceStartOfDay()}; }),
      sampleRate_(sampleRate ? sampleRate : 48000) {
    auto* layout = new QVBoxLayout(this);
    auto* actions = new QHBoxLayout;
    btnPause = action("Pause", "Hold the shown lines still to read them; new ones are kept aside");
    btnPause->setCheckable(true);
    btnClear = action("Clear", "Forget every line");
    btnCopy = action("Copy", "Copy the shown lines to the clipboard");
    btnSave = action("Save\u2026", "Save the shown lines, with all their bytes, to a text file");
    for (QPushButton* button : {btnPause, btnClear, btnCopy, btnSave})
        actions->addWidget(button);
    actions->addSpacing(8);
    chkIn = filterBox("In", "Show what Orvan was given");
    chkOut = filterBox("Out", "Show what Orvan sent");
    actions->addWidget(chkIn);
    actions->addWidget(chkOut);
    cmbChannel = new QComboBox;
    cmbChannel->addItem(QStringLiteral("All channels"));
    for (int channel = 1; channel <= 16; ++channel)
        cmbChannel->addItem(QStringLiteral("Channel %1").arg(channel));
    cmbChannel->setToolTip(
        QStringLiteral("Show only the notes and controllers of one MIDI channel"));
    actions->addWidget(cmbChannel);
    actions->addStretch(1);
    layout->addLayout(actions);

    // Three columns of two rows, so that the lines get the room.
    auto* filters = new QGridLayout;
    filters->setVerticalSpacing(0);
    const char* const captions[kMonitorKinds] = {
        "Pads", "Buttons", "Knobs, jog, XY", "LEDs, display", "Notes, controllers", "Other"};
    const char* const helps[kMonitorKinds] = {
        "The controller's pad hits and releases",
        "The controller's buttons and pedal",
        "The knobs, the jog wheel and the XY pad",
        "What Orvan sends to the controller's LEDs and display",
        "Notes and control changes, both ways",
        "Everything else: entry messages, programs, pitch bends, unknown SysEx"};
    for (int kind = 0; kind < kMonitorKinds; ++kind) {
        chkKinds[kind] = filterBox(captions[kind], helps[kind]);
        filters->addWidget(chkKinds[kind], kind / 3, kind % 3);
    }
    paused = new QLabel;
    paused->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
    filters->addWidget(paused, 0, 3, 2, 1);
    filters->setColumnStretch(3, 1);
    layout->addLayout(filters);

    lines = new QPlainTextEdit;
    lines->setReadOnly(true);
    lines->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    lines->setMaximumBlockCount(kMaxLines);
    lines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lines->setToolTip(QStringLiteral("Time of day, direction, port, bytes, and what it means"));
    lines->viewport()->installEventFilter(this);
    layout->addWidget(lines, 1);

    connect(btnPause, &QPushButton::toggled, this, [this](bool pause) {
        waiting_ = 0;
        showPaused();
        if (!pause)
            showKept();
    });
    connect(btnClear, &QPushButton::clicked, this, [this] { clear(); });
    connect(btnCopy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(shownText()); });
    connect(btnSave, &QPushButton::clicked, this, [this] { save(); });
    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, [this] { showKept(); });
    connect(cmbChannel, &QComboBox::currentIndexChanged, this, [this] { showKept(); });
}

void MidiMonitor::take(const std::vector<MonitoredMessage>& messages, const ControllerState& pads,
                       uint64_t notKept) {
    if (messages.empty())
        return;
    const int64_t now = clock();
    const Frame newest = messages.back().header.frame;
    const auto at = [&](Frame frame) {
        const int64_t before =
            static_cast<int64_t>((newest > frame ? newest - frame : 0) * 1000 / sampleRate_);
        return ((now - before) % kDayMs + kDayMs) % kDayMs;
    };
    const size_t skipped = messages.size() > kLinesAtOnce ? messages.size() - kLinesAtOnce : 0;
    if (skipped + notKept > 0)
        add(decoder_.notice(at(messages[skipped].header.frame),
                            "\u2026 " + std::to_string(skipped + notKept) +
                                " messages not shown: too many at once"));
    for (size_t i = skipped; i < messages.size(); ++i)
        add(decoder_.decode(messages[i], pads, at(messages[i].header.frame)));
}

void MidiMonitor::take(const MonitoredMessage& message, const ControllerState& pads) {
    add(decoder_.decode(message, pads, clock()));
}

void MidiMonitor::add(MonitorLine line) {
    kept_.push_back(std::move(line));
    if (kept_.size() > kMaxLines)
        kept_.pop_front();
    if (!shows(kept_.back()))
        return;
    // Running, the newest line is always in sight; "Pause" holds the lines still for reading.
    if (btnPause->isChecked()) {
        ++waiting_;
        showPaused();
        return;
    }
    lines->appendPlainText(QString::fromStdString(kept_.back().text()));
    shownFull_.push_back(QString::fromStdString(kept_.back().fullText()));
    if (shownFull_.size() > kMaxLines)
        shownFull_.pop_front();
    lines->verticalScrollBar()->setValue(lines->verticalScrollBar()->maximum());
}

QString MidiMonitor::shownText() const {
    return lines->toPlainText();
}

bool MidiMonitor::saveTo(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QString text;
    for (const QString& line : shownFull_)
        text += line + QLatin1Char('\n');
    return file.write(text.toUtf8()) >= 0 && file.flush();
}

void MidiMonitor::save() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save the monitor's lines"), QStringLiteral("orvan-monitor.txt"),
        QStringLiteral("Text files (*.txt);;All files (*)"));
    if (!path.isEmpty() && !saveTo(path))
        QToolTip::showText(btnSave->mapToGlobal(QPoint(0, btnSave->height())),
                           QStringLiteral("Could not write %1").arg(path), btnSave);
}

bool MidiMonitor::shows(const MonitorLine& line) const {
    if (line.notice)
        return true;
    const int channel = cmbChannel->currentIndex();
    return (line.sent ? chkOut : chkIn)->isChecked() &&
           chkKinds[static_cast<int>(line.words.kind)]->isChecked() &&
           (channel == 0 || line.channel == channel);
}

// A paused monitor keeps what it shows until it resumes.
void MidiMonitor::showKept() {
    if (btnPause->isChecked())
        return;
    QStringList shown;
    shownFull_.clear();
    for (const MonitorLine& line : kept_) {
        if (!shows(line))
            continue;
        shown << QString::fromStdString(line.text());
        shownFull_.push_back(QString::fromStdString(line.fullText()));
    }
    lines->setPlainText(shown.join(QLatin1Char('\n')));
    lines->verticalScrollBar()->setValue(lines->verticalScrollBar()->maximum());
}

void MidiMonitor::showPaused() {
    const bool on = btnPause->isChecked();
    btnPause->setText(on ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    paused->setText(on ? QStringLiteral("Paused: %1 new lines wait").arg(waiting_) : QString());
    lines->setStyleSheet(on ? QStringLiteral("QPlainTextEdit { background: #fff4e0; }")
                            : QString());
}

void MidiMonitor::clear() {
    kept_.clear();
    shownFull_.clear();
    lines->clear();
    waiting_ = 0;
    showPaused();
}

// A line's tooltip gives it with every kept byte.
bool MidiMonitor::eventFilter(QObject* watched, QEvent* event) {
    if (watched != lines->viewport() || event->type() != QEvent::ToolTip)
        return QWidget::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int block = lines->cursorForPosition(help->pos()).block().blockNumber();
    if (block >= 0 && static_cast<size_t>(block) < shownFull_.size())
        QToolTip::showText(help->globalPos(), shownFull_[block], lines);
    else
        QToolTip::showText(help->globalPos(), lines->toolTip(), lines);
    return true;
}
