#pragma once

#include "ui/ControllerView.h"

#include <QApplication>
#include <QMouseEvent>

// Input as the user gives it, at a point of the controller's canvas.
inline void Mouse(ControllerView& view, QEvent::Type type, QPointF canvasPoint) {
    const QPointF at = view.canvasToWidget().map(canvasPoint);
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, view.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&view, &event);
}

inline void Click(ControllerView& view, QPointF canvasPoint) {
    Mouse(view, QEvent::MouseButtonPress, canvasPoint);
    Mouse(view, QEvent::MouseButtonRelease, canvasPoint);
}

inline QPointF Centre(ControllerLayout::Part part) {
    return ControllerLayout::RectOf(part).center();
}
