#include "ui/MidiMonitor.h"
#include "ui/FitToText.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
QCheckBox* filterBox(const char* caption) {
    auto* box = new QCheckBox(QString::fromUtf8(caption));
    box->setChecked(true);
    return box;
}
} // namespace

MidiMonitor::MidiMonitor(uint32_t sampleRate, QWidget* parent)
    : QWidget(parent), decoder_(sampleRate) {
    auto* layout = new QVBoxLayout(this);
    auto* actions = new QHBoxLayout;
    btnPause = new QPushButton(QStringLiteral("Pause"));
    btnPause->setCheckable(true);
    btnClear = new QPushButton(QStringLiteral("Clear"));
    btnCopy = new QPushButton(QStringLiteral("Copy"));
    for (QPushButton* button : {btnPause, btnClear, btnCopy}) {
        FitToText(button);
        actions->addWidget(button);
    }
    actions->addSpacing(12);
    chkIn = filterBox("In");
    chkOut = filterBox("Out");
    actions->addWidget(chkIn);
    actions->addWidget(chkOut);
    actions->addStretch(1);
    layout->addLayout(actions);

    // Two columns, so that the monitor stays narrow enough to sit beside the controls.
    auto* kinds = new QGridLayout;
    const char* const captions[kMonitorKinds] = {
        "Pads", "Buttons", "Knobs, jog, XY", "LEDs, display", "Notes, controllers", "Other"};
    for (int kind = 0; kind < kMonitorKinds; ++kind) {
        chkKinds[kind] = filterBox(captions[kind]);
        kinds->addWidget(chkKinds[kind], kind / 2, kind % 2);
    }
    kinds->setColumnStretch(2, 1);
    layout->addLayout(kinds);

    lines = new QPlainTextEdit;
    lines->setReadOnly(true);
    lines->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines->setMaximumBlockCount(kMaxLines);
    lines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(lines, 1);

    connect(btnPause, &QPushButton::toggled, this, [this](bool paused) {
        if (!paused)
            showKept();
    });
    connect(btnClear, &QPushButton::clicked, this, [this] { clear(); });
    connect(btnCopy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(shownText()); });
    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, [this] { showKept(); });
}

void MidiMonitor::take(const std::vector<MonitoredMessage>& messages, const ControllerState& pads,
                       uint64_t notKept) {
    const size_t skipped = messages.size() > kLinesAtOnce ? messages.size() - kLinesAtOnce : 0;
    if (!messages.empty() && skipped + notKept > 0)
        add(decoder_.notice(messages[skipped].header.frame,
                            "\u2026 " + std::to_string(skipped + notKept) +
                                " messages not shown: too many at once"));
    for (size_t i = skipped; i < messages.size(); ++i)
        take(messages[i], pads);
}

void MidiMonitor::take(const MonitoredMessage& message, const ControllerState& pads) {
    add(decoder_.decode(message, pads));
}

void MidiMonitor::add(MonitorLine line) {
    kept_.push_back(std::move(line));
    if (kept_.size() > kMaxLines)
        kept_.pop_front();
    // Running, the newest line is always in sight; "Pause" holds the lines still for reading.
    if (!btnPause->isChecked() && shows(kept_.back())) {
        lines->appendPlainText(QString::fromStdString(kept_.back().text()));
        lines->verticalScrollBar()->setValue(lines->verticalScrollBar()->maximum());
    }
}

QString MidiMonitor::shownText() const {
    return lines->toPlainText();
}

bool MidiMonitor::shows(const MonitorLine& line) const {
    if (line.notice)
        return true;
    return (line.sent ? chkOut : chkIn)->isChecked() &&
           chkKinds[static_cast<int>(line.words.kind)]->isChecked();
}

// A paused monitor keeps what it shows until it resumes.
void MidiMonitor::showKept() {
    if (btnPause->isChecked())
        return;
    QStringList shown;
    for (const MonitorLine& line : kept_)
        if (shows(line))
            shown << QString::fromStdString(line.text());
    lines->setPlainText(shown.join(QLatin1Char('\n')));
    lines->verticalScrollBar()->setValue(lines->verticalScrollBar()->maximum());
}

void MidiMonitor::clear() {
    kept_.clear();
    lines->clear();
}
