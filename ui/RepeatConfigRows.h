#pragma once

#include "engine/ControllerState.h"

#include <QString>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QWidget;

// The "Config" rows of note repeat: the control, the rate, swing, gate, the own tempo and the
// control that taps it. Each
// shows and stores its setting's text, as a settings file would hold it.
class RepeatConfigRows {
public:
    void build(QGridLayout* grid);
    // The stored texts, or the first-run ones where none is usable.
    void recall();
    void restoreDefaults();
    // The first row whose text cannot be stored, and why; nullptr when all can.
    QWidget* invalidField(QString& why) const;
    // Stores every row and puts its value into settings.
    void save(ControllerSettings& settings) const;

    QComboBox* cmbControl = nullptr;
    QComboBox* cmbRate = nullptr;
    QLineEdit* txtSwing = nullptr;
    QLineEdit* txtGate = nullptr;
    QLineEdit* txtOwnTempo = nullptr;
    QComboBox* cmbTapControl = nullptr;
};
