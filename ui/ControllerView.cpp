#include "ui/ControllerView.h"

#include "engine/NativeMessages.h"
#include "host/EngineRunner.h"
#include "ui/ButtonRoles.h"
#include "ui/PadPlaying.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
using namespace ControllerLayout;
constexpr int kTop = 0x7F;
constexpr double kKnobDragPerStep = 2; // canvas units up or down
constexpr double kJogDragPerStep = 10; // canvas units right or left
constexpr int kNotch = 120;            // wheel angle of one notch

int position(double fraction) {
    return static_cast<int>(std::lround(kTop * std::clamp(fraction, 0.0, 1.0)));
}
} // namespace

ControllerView::ControllerView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    // Small enough to sit beside the controls on a small screen at 150 %.
    setMinimumSize(kCanvas.toSize() * 3 / 8);
}

QSize ControllerView::sizeHint() const {
    return kCanvas.toSize();
}

QTransform ControllerView::canvasToWidget() const {
    const double scale = std::min(width() / kCanvas.width(), height() / kCanvas.height());
    return QTransform::fromTranslate((width() - scale * kCanvas.width()) / 2,
                                     (height() - scale * kCanvas.height()) / 2)
        .scale(scale, scale);
}

void ControllerView::take(const MonitoredMessage& message) {
    if (!message.header.sent || message.header.port != EngineRunner::ToController)
        return;
    if (lights_.take(ByteView(message.bytes.data(), message.kept())))
        update();
}

void ControllerView::showState(const EngineSnapshot& snapshot) {
    const ControllerState& s = snapshot.state;
    Shown next;
    for (int pad = 0; pad < ControllerState::kPads; ++pad)
        for (int bank = 0; bank < ControllerState::kBanks; ++bank)
            next.legends[pad][bank] = LegendOf(s, pad, bank);
    for (int knob = 0; knob < 2; ++knob)
        next.knobs[knob] = std::clamp<int>(s.intKnobValue[knob], 0, kTop);
    // The knob being dragged shows where the mouse put it, not the engine's last but one.
    if (mouseHeld_.kind == Part::Knob)
        next.knobs[mouseHeld_.index] = shown_.knobs[mouseHeld_.index];
    next.bank = std::clamp<int>(s.intCurrentBank, 0, ControllerState::kBanks - 1);
    for (int pad = 0; pad < ControllerState::kPads; ++pad)
        next.repeating[pad] = s.noteRepeat.voices[pad].repeating;
    next.jobs[0] = RepeatJobOf(s, RepeatControl::Pedal);
    for (int button = 0; button < kRepeatNoteButtons; ++button)
        next.jobs[button + 1] = RepeatJobOf(s, NoteButtonControl(button));
    if (next == shown_)
        return;
    shown_ = next;
    update();
}

const char* ControllerView::takenByRepeat(int noteButton) const {
    switch (shown_.jobs.at(noteButton + 1)) {
    case RepeatJob::Hold:
        return "REPEAT";
    case RepeatJob::Tap:
        return "TAP";
    case RepeatJob::None:
        break;
    }
    return nullptr;
}

int ControllerView::shownBank() const {
    return lights_.bank() >= 0 ? lights_.bank() : shown_.bank;
}

void ControllerView::send(std::vector<uint8_t> bytes) {
    if (sink_)
        sink_(std::move(bytes));
}

void ControllerView::sendReport(const Report& report) {
    send(ReportBytes(report));
}

bool ControllerView::held(Part part) const {
    return mouseHeld_ == part || (part.kind == Part::Pad && keyHeld_[part.index]) ||
           (part.kind == Part::Button && latched_ == part.index);
}

void ControllerView::clickLatch(int button) {
    const bool letGo = latched_ == button;
    if (latched_)
        sendReport(ButtonReport(*latched_, false));
    latched_.reset();
    if (!letGo) {
        sendReport(ButtonReport(button, true));
        latched_ = button;
    }
    update();
}

void ControllerView::turnKnob(int knob, int to) {
    to = std::clamp(to, 0, kTop);
    if (to == shown_.knobs[knob])
        return;
    shown_.knobs[knob] = to;
    sendReport(KnobReport(knob, to));
    update();
}

// Positive steps turn right.
void ControllerView::stepJogWheel(int steps) {
    for (int i = 0; i < std::abs(steps); ++i)
        sendReport(JogWheelStep(steps < 0));
    jogTurn_ += steps;
    update();
}

// Only the axes that changed are sent; up is high.
void ControllerView::moveXY(QPointF point) {
    const QRectF pad = xyPadRect();
    const std::array<int, 2> to = {position((point.x() - pad.left()) / pad.width()),
                                   position((pad.bottom() - point.y()) / pad.height())};
    const int axes[] = {native::kXYPadX, native::kXYPadY};
    for (int axis = 0; axis < 2; ++axis)
        if (to[axis] != xy_[axis])
            send(XYPadBytes(axes[axis], to[axis]));
    xy_ = to;
    update();
}

void ControllerView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || mouseHeld_.kind != Part::None)
        return;
    const QPointF at = canvasToWidget().inverted().map(event->position());
    mouseHeld_ = PartAt(at);
    dragFrom_ = at;
    if (selectSink_ && mouseHeld_.kind != Part::None)
        selectSink_(mouseHeld_);
    const int index = mouseHeld_.index;
    switch (mouseHeld_.kind) {
    case Part::Pad: {
        const QRectF pad = padRect(index);
        sendReport(PadHit(index, VelocityAt((at.y() - pad.top()) / pad.height())));
        break;
    }
    case Part::Button:
        if (Latches(index)) {
            clickLatch(index);
            mouseHeld_ = {}; // held by the latch, not the mouse
        } else {
            sendReport(ButtonReport(index, true));
        }
        break;
    case Part::Knob:
        dragKnobFrom_ = shown_.knobs[index];
        break;
    case Part::XYPad:
        moveXY(at);
        break;
    case Part::Pedal:
        sendReport(PedalReport(true));
        break;
    case Part::JogWheel:
    case Part::None:
        break;
    }
    update();
}

void ControllerView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = canvasToWidget().inverted().map(event->position());
    switch (mouseHeld_.kind) {
    case Part::Knob:
        turnKnob(mouseHeld_.index,
                 dragKnobFrom_ +
                     static_cast<int>(std::lround((dragFrom_.y() - at.y()) / kKnobDragPerStep)));
        break;
    case Part::XYPad:
        moveXY(at);
        break;
    case Part::JogWheel:
        if (const int steps = static_cast<int>((at.x() - dragFrom_.x()) / kJogDragPerStep)) {
            stepJogWheel(steps);
            dragFrom_.rx() += steps * kJogDragPerStep;
        }
        break;
    default:
        break;
    }
}

void ControllerView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int index = mouseHeld_.index;
    switch (mouseHeld_.kind) {
    case Part::Pad:
        sendReport(PadRelease(index));
        break;
    case Part::Button:
        sendReport(ButtonReport(index, false));
        break;
    case Part::Pedal:
        sendReport(PedalReport(false));
        break;
    default:
        break;
    }
    mouseHeld_ = {};
    update();
}

std::unique_ptr<QMenu> ControllerView::padModeMenu(int pad) {
    auto menu = std::make_unique<QMenu>(this);
    const std::string current = legend(pad).mode;
    for (const ModeName& name : kModeNames) {
        QAction* action = menu->addAction(QString::fromLatin1(name.plain));
        action->setCheckable(true);
        action->setChecked(current == name.shortForm);
        action->setToolTip(QString::fromLatin1(name.meaning));
        const std::string mode = name.mode;
        connect(action, &QAction::triggered, this, [this, pad, mode] {
            if (modeSink_)
                modeSink_(shownBank(), pad, mode);
        });
    }
    menu->setToolTipsVisible(true);
    return menu;
}

void ControllerView::contextMenuEvent(QContextMenuEvent* event) {
    const Part part = PartAt(canvasToWidget().inverted().map(QPointF(event->pos())));
    if (part.kind != Part::Pad) {
        event->ignore();
        return;
    }
    padModeMenu(part.index)->exec(event->globalPos());
}

// One knob step or one jog-wheel step a notch; up turns right.
void ControllerView::wheelEvent(QWheelEvent* event) {
    const Part part = PartAt(canvasToWidget().inverted().map(event->position()));
    if (part.kind != Part::Knob && part.kind != Part::JogWheel) {
        event->ignore();
        return;
    }
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / kNotch;
    wheelRest_ -= notches * kNotch;
    for (int i = 0; i < std::abs(notches); ++i) {
        if (part.kind == Part::Knob)
            turnKnob(part.index, shown_.knobs[part.index] + (notches > 0 ? 1 : -1));
        else
            stepJogWheel(notches > 0 ? 1 : -1);
    }
}

// A held key hits once: the keyboard's repeats are no new hits. X servers repeat a held key as a
// release and a press of the same time stamp, often not flagged as a repeat; so a release waits
// a moment for the press that would make it one.
bool ControllerView::playKey(QKeyEvent* event) {
    const int pad = PadOfKey(event->key());
    if (pad < 0 || (event->modifiers() & ~Qt::KeypadModifier))
        return false;
    if (event->isAutoRepeat())
        return true;
    if (event->type() == QEvent::KeyRelease) {
        if (!keyHeld_[pad] || releasing_[pad])
            return true;
        const unsigned long stamp = event->timestamp();
        releasing_[pad] = stamp;
        QTimer::singleShot(kRepeatPairMs, this, [this, pad, stamp] {
            if (releasing_[pad] == stamp) {
                releasing_[pad].reset();
                releaseKey(pad);
            }
        });
        return true;
    }
    if (releasing_[pad]) {
        const bool repeat = *releasing_[pad] == event->timestamp();
        releasing_[pad].reset();
        if (repeat)
            return true;
        releaseKey(pad);
    }
    if (keyHeld_[pad])
        return true;
    keyHeld_[pad] = true;
    sendReport(PadHit(pad, kKeyVelocity));
    update();
    return true;
}

void ControllerView::keyPressEvent(QKeyEvent* event) {
    if (!playKey(event))
        QWidget::keyPressEvent(event);
}

void ControllerView::keyReleaseEvent(QKeyEvent* event) {
    if (!playKey(event))
        QWidget::keyReleaseEvent(event);
}

void ControllerView::releaseKey(int pad) {
    if (!keyHeld_[pad])
        return;
    keyHeld_[pad] = false;
    sendReport(PadRelease(pad));
    update();
}

void ControllerView::releaseKeys() {
    for (int pad = 0; pad < ControllerState::kPads; ++pad) {
        releasing_[pad].reset();
        releaseKey(pad);
    }
}

// The focus shows as a rim; keys play wherever the focus is in the window.
void ControllerView::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void ControllerView::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

// Keys released while another window had the keyboard would leave their pads held.
void ControllerView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        releaseKeys();
    QWidget::changeEvent(event);
}

bool ControllerView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = tipFor(PartAt(canvasToWidget().inverted().map(QPointF(help->pos()))));
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, this);
    return true;
}
