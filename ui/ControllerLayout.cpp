#include "ui/ControllerLayout.h"

#include "engine/ControllerState.h"
#include "ui/ButtonRoles.h"
#include "ui/PadPlaying.h"

#include <QLineF>

namespace ControllerLayout {
namespace {
constexpr double kPadSize = 76, kPadGap = 8;
constexpr QPointF kPadsAt(230, 100);

constexpr double kButtonWidth = 60, kButtonHeight = 26, kButtonStep = 65;
constexpr double kRightColumn = 590;
constexpr int kButtonsARow = 3;
// The first row of each kind of button in the right column; rows are 32 apart.
constexpr double kModeRow = 30, kBankRow = 108, kNoteRow = 154, kJogRow = 232, kRowStep = 32;

constexpr double kKnobRadius = 34;
constexpr double kAssignWidth = 70, kLeftStep = 90, kLeftColumn = 30;

QRectF around(QPointF centre, double radius) {
    return {centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius};
}

bool inCircle(const QRectF& rect, QPointF point) {
    return QLineF(rect.center(), point).length() <= rect.width() / 2;
}
} // namespace

QRectF padRect(int pad) {
    const int row = pad / kPadColumns, column = pad % kPadColumns;
    return {kPadsAt.x() + column * (kPadSize + kPadGap), kPadsAt.y() + row * (kPadSize + kPadGap),
            kPadSize, kPadSize};
}

QRectF buttonRect(int button) {
    const ButtonRole role = RoleOfButton(button);
    if (role.kind == ButtonRole::KnobAssign)
        return {kLeftColumn + role.number * kLeftStep, 135, kAssignWidth, kButtonHeight};
    const double firstRow = role.kind == ButtonRole::Mode   ? kModeRow
                            : role.kind == ButtonRole::Bank ? kBankRow
                            : role.kind == ButtonRole::Note ? kNoteRow
                                                            : kJogRow;
    return {kRightColumn + (role.number % kButtonsARow) * kButtonStep,
            firstRow + (role.number / kButtonsARow) * kRowStep, kButtonWidth, kButtonHeight};
}

QRectF displayRect() {
    return {300, 22, 188, 62};
}

QRectF knobRect(int knob) {
    return around(QPointF(65 + knob * kLeftStep, 75), kKnobRadius);
}

QRectF xyPadRect() {
    return {kLeftColumn, 180, 160, 160};
}

QRectF jogWheelRect() {
    return around(QPointF(685, 345), 72);
}

QRectF pedalRect() {
    return {kLeftColumn, 360, 160, 60};
}

QRectF modeLegendRect() {
    return {kLeftColumn - 10, 436, kCanvas.width() - 2 * (kLeftColumn - 10), 24};
}

Part PartAt(QPointF point) {
    for (int pad = 0; pad < ControllerState::kPads; ++pad)
        if (padRect(pad).contains(point))
            return {Part::Pad, pad};
    for (int button = 0; button < ControllerState::kButtons; ++button)
        if (buttonRect(button).contains(point))
            return {Part::Button, button};
    for (int knob = 0; knob < 2; ++knob)
        if (inCircle(knobRect(knob), point))
            return {Part::Knob, knob};
    if (xyPadRect().contains(point))
        return {Part::XYPad};
    if (inCircle(jogWheelRect(), point))
        return {Part::JogWheel};
    if (pedalRect().contains(point))
        return {Part::Pedal};
    return {};
}

QRectF RectOf(Part part) {
    switch (part.kind) {
    case Part::Pad:
        return padRect(part.index);
    case Part::Button:
        return buttonRect(part.index);
    case Part::Knob:
        return knobRect(part.index);
    case Part::XYPad:
        return xyPadRect();
    case Part::JogWheel:
        return jogWheelRect();
    case Part::Pedal:
        return pedalRect();
    case Part::None:
        break;
    }
    return {};
}

} // namespace ControllerLayout
