#pragma once

#include "engine/Mapping.h"
#include "ui/MappedControl.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QToolButton;

// The player's mapping of one control at a time: what it sends (the built-in message, a note, a
// control change or a program change), its number and channel, and for a pad how its hits'
// velocities are shaped. Every change goes at once to the apply function; learning takes the
// next note or control change of the music software as the selected control's message.
class MappingEditor : public QWidget {
public:
    using Apply = std::function<void(const Mapping&)>;

    explicit MappingEditor(QWidget* parent = nullptr);

    void setApply(Apply apply) { apply_ = std::move(apply); }
    // The mapping as it plays now; shown, not applied again.
    void setMapping(const Mapping& mapping);
    void select(const MappedControl& control);
    const MappedControl& selected() const { return selected_; }
    // A message the music software sent: taken while learning is armed, when the control can
    // send its kind, then learning stops. True when it was taken.
    bool learnFrom(ByteView message);

    QComboBox* controlBox = nullptr; // pads 1..16, knobs, XY axes, pedal, jog directions
    QComboBox* bankBox = nullptr;
    QComboBox* kindBox =
        nullptr; // in the order of MessageKind; what the control cannot send is off
    QSpinBox* numberBox = nullptr;
    QLabel* numberName = nullptr;    // a note's name and drum
    QComboBox* channelBox = nullptr; // "Global", then 1..16
    QWidget* velocityPane = nullptr; // pads only
    QCheckBox* ownShape = nullptr;
    QComboBox* curveBox = nullptr; // in the order of VelocityCurve
    QSpinBox* minimumBox = nullptr;
    QSpinBox* maximumBox = nullptr;
    QSpinBox* thresholdBox = nullptr;
    QSpinBox* fixedBox = nullptr; // 0: off
    QToolButton* learn = nullptr;

private:
    void buildFields();
    void buildVelocity();
    // The fields from the mapping, without applying anything.
    void showSelected();
    // The fields into the mapping, which is applied.
    void edited();
    void chooseControl();
    VelocityShape& editedShape();

    Mapping mapping_;
    MappedControl selected_;
    Apply apply_;
    bool showing_ = false;
};
