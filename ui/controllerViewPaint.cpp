#include "ui/ButtonRoles.h"
#include "ui/ControllerView.h"
#include "ui/PadPlaying.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cmath>

// The controller drawn on the canvas of ControllerLayout: a dark body, pads in the colour of
// their mode (bright when lit), LED buttons red-orange when lit, the display in red on black.

namespace {
using namespace ControllerLayout;

const QColor kBody(0x2b, 0x2e, 0x34);
const QColor kPanel(0x3a, 0x3e, 0x46);
const QColor kCaption(0xa8, 0xae, 0xb8);
const QColor kLedOn(0xff, 0x5a, 0x2a);
const QColor kInk(0x14, 0x14, 0x14);
const QColor kText(0xee, 0xee, 0xee);
const QColor kHeldRim(0xff, 0xff, 0xff);

// Each mode its colour; modes Orvan does not know are grey.
QColor modeColour(const std::string& mode) {
    static const std::pair<const char*, QColor> colours[] = {
        {"FLASH", QColor(0xe6, 0xe6, 0xe6)}, {"TGL", QColor(0xff, 0xb0, 0x20)},
        {"CN1", QColor(0x40, 0xd0, 0x60)},   {"CN2", QColor(0x30, 0xc8, 0xf0)},
        {"CN3", QColor(0x50, 0x90, 0xff)},   {"TRK", QColor(0xff, 0x48, 0x48)},
        {"FDB", QColor(0xc8, 0x78, 0xff)}};
    for (const auto& [name, colour] : colours)
        if (mode == name)
            return colour;
    return QColor(0x90, 0x90, 0x90);
}

// A dark LED shows its colour faintly.
QColor dim(const QColor& colour) {
    return QColor::fromRgbF(kPanel.redF() * 0.75 + colour.redF() * 0.25,
                            kPanel.greenF() * 0.75 + colour.greenF() * 0.25,
                            kPanel.blueF() * 0.75 + colour.blueF() * 0.25);
}

// Text on the canvas scales with the view, but never below a legible size on the screen (in
// the screen's own pixels): at 150 % on a small screen the view is smaller than its canvas.
constexpr double kLeastTextPixels = 9;

// The pixel size a text of these canvas units gets; the least size counts the screen's pixels,
// which at 150 % are smaller than the window's.
int textPixels(const QPainter& p, int pixels) {
    const double scale = p.transform().m11() * (p.device() ? p.device()->devicePixelRatioF() : 1);
    return scale > 0 ? std::max(pixels, static_cast<int>(std::ceil(kLeastTextPixels / scale)))
                     : pixels;
}

void usePixels(QPainter& p, int pixels, bool bold = false, bool fixed = false) {
    QFont font =
        fixed ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QGuiApplication::font();
    font.setPixelSize(textPixels(p, pixels));
    font.setBold(bold);
    p.setFont(font);
}

void caption(QPainter& p, const QRectF& rect, const QString& text,
             Qt::Alignment align = Qt::AlignCenter) {
    usePixels(p, 11, true);
    p.setPen(kCaption);
    p.drawText(rect, align, text);
}

void rim(QPainter& p, bool held) {
    p.setPen(held ? QPen(kHeldRim, 2) : QPen(Qt::NoPen));
}
} // namespace

void ControllerView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), kBody.darker(130));
    p.setTransform(canvasToWidget());
    p.setPen(Qt::NoPen);
    p.setBrush(kBody);
    p.drawRoundedRect(QRectF(QPointF(0, 0), kCanvas), 14, 14);

    for (int pad = 0; pad < ControllerState::kPads; ++pad)
        paintPad(p, pad);
    for (int button = 0; button < ControllerState::kButtons; ++button)
        paintButton(p, button);
    paintDisplay(p);
    for (int knob = 0; knob < 2; ++knob)
        paintKnob(p, knob);
    paintXYPad(p);
    paintJogWheel(p);
    paintPedal(p);
    paintModeLegend(p);

    // Each kind's buttons under its name, in the order of ButtonRole::Kind.
    static const char* const kinds[] = {"MODE", "BANK", "JOG", "NOTE"};
    for (int button = 0; button < ControllerState::kButtons; ++button) {
        const ButtonRole role = RoleOfButton(button);
        if (role.number != 0 || role.kind == ButtonRole::KnobAssign)
            continue;
        const QRectF r = buttonRect(button);
        caption(p, QRectF(r.left(), r.top() - 16, 200, 14), QString::fromLatin1(kinds[role.kind]),
                Qt::AlignLeft | Qt::AlignVCenter);
    }
    // Where the keyboard's focus is: keys play anyway, other keys act on the focused control.
    if (hasFocus()) {
        p.resetTransform();
        p.setPen(QPen(palette().color(QPalette::Highlight), 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    }
}

// The modes' short forms in their colours, each with its name in plain words.
void ControllerView::paintModeLegend(QPainter& p) const {
    const QRectF strip = modeLegendRect();
    double x = strip.left();
    for (const ModeName& name : kModeNames) {
        const QString shortForm = QString::fromLatin1(name.shortForm);
        const QString plain = QString::fromLatin1(name.plain);
        p.setPen(Qt::NoPen);
        p.setBrush(modeColour(name.shortForm));
        p.drawRoundedRect(QRectF(x, strip.center().y() - 5, 10, 10), 2, 2);
        x += 14;
        usePixels(p, 11, true);
        p.setPen(modeColour(name.shortForm));
        const double shortWidth = p.fontMetrics().horizontalAdvance(shortForm);
        p.drawText(QRectF(x, strip.top(), shortWidth + 1, strip.height()), Qt::AlignVCenter,
                   shortForm);
        x += shortWidth + 4;
        usePixels(p, 11);
        p.setPen(kCaption);
        const double plainWidth = p.fontMetrics().horizontalAdvance(plain);
        p.drawText(QRectF(x, strip.top(), plainWidth + 1, strip.height()), Qt::AlignVCenter, plain);
        x += plainWidth + 12;
    }
}

void ControllerView::paintPad(QPainter& p, int pad) const {
    const QRectF r = padRect(pad);
    const PadLegend legend = this->legend(pad);
    const QColor colour = modeColour(legend.mode);
    const bool lit = lights_.padLit(pad);
    rim(p, held({Part::Pad, pad}));
    p.setBrush(lit ? colour : dim(colour));
    p.drawRoundedRect(r, 8, 8);
    if (padRepeats(pad)) {
        // A repeating pad wears a dashed ring inside its edge.
        p.save();
        p.setPen(QPen(kInk, 2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(3, 3, -3, -3), 6, 6);
        p.restore();
    }

    const QRectF inner = r.adjusted(6, 4, -6, -4);
    p.setPen(lit ? kInk : kCaption);
    usePixels(p, 11);
    p.drawText(inner, Qt::AlignLeft | Qt::AlignTop, QString::number(pad + 1));
    // The key that plays the pad, as a key cap around its letter.
    const double cap = textPixels(p, 11) + 4;
    const QRectF key(inner.right() - cap, inner.top(), cap, cap + 1);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(key, 3, 3);
    p.drawText(key, Qt::AlignCenter, QString(QChar::fromLatin1(kPadKeys[pad])));
    p.setPen(lit ? kInk : colour);
    usePixels(p, 16, true);
    p.drawText(inner, Qt::AlignCenter, QString::fromStdString(legend.mode));
    p.setPen(lit ? kInk : kText);
    usePixels(p, 12);
    p.drawText(inner, Qt::AlignHCenter | Qt::AlignBottom, QString::fromStdString(legend.sends()));
}

void ControllerView::paintButton(QPainter& p, int button) const {
    const QRectF r = buttonRect(button);
    const bool lit = lights_.buttonLit(button);
    rim(p, held({Part::Button, button}));
    p.setBrush(lit ? kLedOn : kPanel);
    p.drawRoundedRect(r, 5, 5);
    p.setPen(lit ? kInk : kText);
    usePixels(p, 11, true);
    const ButtonRole role = RoleOfButton(button);
    const char* taken = role.kind == ButtonRole::Note ? takenByRepeat(role.number) : nullptr;
    p.drawText(r, Qt::AlignCenter,
               taken ? QString::fromLatin1(taken) : QString::fromStdString(role.caption));
}

void ControllerView::paintDisplay(QPainter& p) const {
    const QRectF r = displayRect();
    p.setPen(QPen(kPanel, 3));
    p.setBrush(QColor(0x08, 0x08, 0x08));
    p.drawRoundedRect(r, 6, 6);
    p.setPen(QColor(0xff, 0x3b, 0x2f));
    usePixels(p, 42, true, true);
    p.drawText(r, Qt::AlignCenter, QString::fromStdString(lights_.display()));
    caption(p, QRectF(padRect(0).left(), r.top(), r.left() - padRect(0).left(), r.height()),
            QStringLiteral("BANK %1").arg(shownBank() + 1));
}

void ControllerView::paintKnob(QPainter& p, int knob) const {
    const QRectF r = knobRect(knob);
    const int value = shown_.knobs[knob];
    rim(p, held({Part::Knob, knob}));
    p.setBrush(kPanel.lighter(120));
    p.drawEllipse(r);
    // From 7 o'clock (00) clockwise to 5 o'clock (7F).
    const double angle = qDegreesToRadians(225.0 - 270.0 * value / 127);
    const QPointF c = r.center();
    const double radius = r.width() / 2 - 5;
    p.setPen(QPen(kText, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(radius * std::cos(angle), -radius * std::sin(angle)));
    caption(p, QRectF(r.left() - 10, r.top() - 30, r.width() + 20, 14),
            QStringLiteral("KNOB %1").arg(knob + 1));
    caption(p, QRectF(r.left() - 10, r.bottom() + 1, r.width() + 20, 14), QString::number(value));
}

void ControllerView::paintXYPad(QPainter& p) const {
    const QRectF r = xyPadRect();
    rim(p, held({Part::XYPad}));
    p.setBrush(kPanel);
    p.drawRoundedRect(r, 6, 6);
    p.setPen(QPen(kBody, 1));
    p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
    caption(p, r.adjusted(6, 4, -6, -4), QStringLiteral("XY"), Qt::AlignLeft | Qt::AlignTop);
    if (xy_[0] < 0)
        return;
    const QPointF at(r.left() + r.width() * xy_[0] / 127, r.bottom() - r.height() * xy_[1] / 127);
    p.setPen(Qt::NoPen);
    p.setBrush(kLedOn);
    p.drawEllipse(at, 7, 7);
    caption(p, r.adjusted(6, 4, -6, -4), QStringLiteral("%1, %2").arg(xy_[0]).arg(xy_[1]),
            Qt::AlignRight | Qt::AlignBottom);
}

void ControllerView::paintJogWheel(QPainter& p) const {
    const QRectF r = jogWheelRect();
    rim(p, held({Part::JogWheel}));
    p.setBrush(kPanel.lighter(115));
    p.drawEllipse(r);
    p.setPen(Qt::NoPen);
    p.setBrush(kPanel);
    p.drawEllipse(r.center(), r.width() / 4, r.width() / 4);
    // The finger dip turns 15 degrees a step.
    const double angle = qDegreesToRadians(90.0 - 15.0 * jogTurn_);
    const double radius = r.width() * 0.36;
    p.setBrush(kBody);
    p.drawEllipse(r.center() + QPointF(radius * std::cos(angle), -radius * std::sin(angle)), 8, 8);
    caption(p, QRectF(r.center().x() - 30, r.center().y() - 7, 60, 14), QStringLiteral("JOG"));
}

void ControllerView::paintPedal(QPainter& p) const {
    const QRectF r = pedalRect();
    const bool down = held({Part::Pedal});
    rim(p, down);
    p.setBrush(down ? kPanel.lighter(150) : kPanel);
    p.drawRoundedRect(r, 8, 8);
    const char* taken = takenByRepeat(-1);
    caption(p, r,
            taken ? QStringLiteral("PEDAL: ") + QString::fromLatin1(taken)
                  : QStringLiteral("PEDAL"));
}
