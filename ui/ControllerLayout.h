#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// Where the controller's parts lie on the screen, in the units of a canvas of kCanvas that the
// view scales to its size: knobs, assign buttons, XY pad and pedal on the left; the display and
// the 4 x 4 pads in the middle; mode, bank, note and jog buttons and the jog wheel on the right.
namespace ControllerLayout {

inline constexpr QSizeF kCanvas(800, 466);

QRectF padRect(int pad);
QRectF buttonRect(int button); // by button table index
QRectF displayRect();
QRectF knobRect(int knob); // 0 or 1
QRectF xyPadRect();
QRectF jogWheelRect();
QRectF pedalRect();
// The strip below the controller that names the pad modes.
QRectF modeLegendRect();

// A part of the controller the mouse can play.
struct Part {
    enum Kind { None, Pad, Button, Knob, XYPad, JogWheel, Pedal };
    Kind kind = None;
    int index = 0; // pad, button table index or knob
    bool operator==(const Part&) const = default;
};
Part PartAt(QPointF point);
QRectF RectOf(Part part);

} // namespace ControllerLayout
