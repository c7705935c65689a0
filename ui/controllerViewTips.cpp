#include "engine/ButtonTable.h"
#include "engine/ModeButtons.h"
#include "engine/NativeMessages.h"
#include "ui/ButtonRoles.h"
#include "ui/ControllerView.h"
#include "ui/NoteNames.h"
#include "ui/PadPlaying.h"

// What each part of the view is and does, in the words of its tooltip.

namespace {
QString modeWords(const std::string& shortForm) {
    const ModeName* name = FindModeName(shortForm);
    if (!name)
        return QStringLiteral("mode %1").arg(QString::fromStdString(shortForm));
    return QStringLiteral("%1 (%2): %3")
        .arg(QString::fromLatin1(name->plain), QString::fromLatin1(name->shortForm),
             QString::fromLatin1(name->meaning));
}

QString sendsWords(const PadLegend& legend) {
    const QString channel =
        legend.channel >= 0 ? QStringLiteral(" on channel %1").arg(legend.channel + 1) : QString();
    switch (legend.output) {
    case PadLegend::Notes:
        return QStringLiteral("sends note %1 (%2)%3")
            .arg(legend.number)
            .arg(NoteName(legend.number), channel);
    case PadLegend::Controllers:
        return QStringLiteral("sends controller %1%2").arg(legend.number).arg(channel);
    case PadLegend::Programs:
        return QStringLiteral("sends program change %1%2").arg(legend.number).arg(channel);
    case PadLegend::Nothing:
        break;
    }
    return QStringLiteral("sends nothing (see \"Config\")");
}

// A control note repeat takes (see "Config").
QString repeatWords(std::string_view taken) {
    return taken == "TAP" ? QStringLiteral(": tap it in time to set the own tempo.")
                          : QStringLiteral(": while it is held, held pads repeat; turn the jog "
                                           "wheel then to choose the rate.");
}

QString buttonWords(int button) {
    const ButtonRole role = RoleOfButton(button);
    const QString caption = QString::fromStdString(role.caption);
    const QString latch = QStringLiteral(" A click holds it until you click it again.");
    switch (role.kind) {
    case ButtonRole::Mode: {
        const ModeButton* mode = FindModeButton(native::kButtonLedIds.at(button));
        const std::string shown = mode ? std::string(mode->text) : role.caption;
        const ModeName* name = FindModeName(shown);
        return QStringLiteral("%1: while it is held, the lit pads are those in %2 mode; hit a "
                              "pad to give it that mode, hit it again to make it Momentary "
                              "(FLASH).%3")
                   .arg(caption,
                        name ? QStringLiteral("%1 (%2)").arg(QString::fromLatin1(name->plain),
                                                             QString::fromLatin1(name->shortForm))
                             : caption) +
               latch;
    }
    case ButtonRole::Bank:
        return QStringLiteral("%1: the pads play and show bank %2.")
                   .arg(caption)
                   .arg(role.number + 1) +
               latch;
    case ButtonRole::JogModifier:
        return QStringLiteral("%1: hold it while turning the jog wheel to change what the wheel "
                              "sends.")
            .arg(caption);
    case ButtonRole::Note: {
        const int note = kFirstButtonNote + role.number;
        return QStringLiteral("%1: sends note %2 (%3).").arg(caption).arg(note).arg(NoteName(note));
    }
    case ButtonRole::KnobAssign:
        return QStringLiteral("%1: knob %2's assign button.").arg(caption).arg(role.number + 1);
    }
    return caption;
}
} // namespace

QString ControllerView::tipFor(Part part) const {
    switch (part.kind) {
    case Part::Pad: {
        const PadLegend legend = this->legend(part.index);
        return QStringLiteral("Pad %1 of bank %2, key %3. %4; %5. Click to hit it (higher up is "
                              "louder) and edit it; right-click to set its mode.")
            .arg(part.index + 1)
            .arg(shownBank() + 1)
            .arg(QChar::fromLatin1(kPadKeys[part.index]))
            .arg(modeWords(legend.mode), sendsWords(legend));
    }
    case Part::Button:
        if (const ButtonRole role = RoleOfButton(part.index); role.kind == ButtonRole::Note)
            if (const char* taken = takenByRepeat(role.number))
                return QString::fromStdString(role.caption) + repeatWords(taken);
        return buttonWords(part.index);
    case Part::Knob:
        return QStringLiteral("Knob %1: drag up or down, or scroll over it.").arg(part.index + 1);
    case Part::XYPad:
        return QStringLiteral("XY pad: drag on it.");
    case Part::JogWheel:
        return QStringLiteral("Jog wheel: drag sideways, or scroll over it.");
    case Part::Pedal:
        if (const char* taken = takenByRepeat(-1))
            return QStringLiteral("Foot pedal") + repeatWords(taken);
        return QStringLiteral("Foot pedal: press and hold the mouse on it.");
    case Part::None:
        break;
    }
    return QStringLiteral("The controller as Orvan drives it. The keys 1 2 3 4, Q W E R, A S D F "
                          "and Z X C V play the pads whenever this window is active.");
}
