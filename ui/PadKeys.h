#pragma once

#include <QObject>

class ControllerView;
class QWidget;

// The pad keys play whenever the window is active, wherever its focus is, except in a field
// that takes typed text: lists, choosers and buttons would otherwise take the letters.
class PadKeys : public QObject {
public:
    // Watches every key of the application for those that reach the window.
    PadKeys(QWidget* window, ControllerView* view);

    // A widget that takes typed text: an editable line, text or spin box, or chooser.
    static bool TakesText(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    ControllerView* view_;
};
