#include "ui/MappingEditor.h"

#include "ui/DrumNames.h"
#include "ui/NoteNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kPads = Mapping::kPads;
// The controls after the pads, in the order of the control box.
constexpr MappedControl::Kind kOthers[] = {
    MappedControl::Knob,  MappedControl::Knob,    MappedControl::XYPadX,  MappedControl::XYPadY,
    MappedControl::Pedal, MappedControl::JogLeft, MappedControl::JogRight};
const char* const kOtherNames[] = {"Knob 1", "Knob 2",         "XY pad X",       "XY pad Y",
                                   "Pedal",  "Jog wheel left", "Jog wheel right"};

int boxIndex(const MappedControl& c) {
    if (c.kind == MappedControl::Pad)
        return c.index;
    if (c.kind == MappedControl::Knob)
        return kPads + c.index;
    for (int i = 2; i < static_cast<int>(std::size(kOthers)); ++i)
        if (kOthers[i] == c.kind)
            return kPads + i;
    return 0;
}

MappedControl controlAt(int boxIndex, int bank) {
    if (boxIndex < kPads)
        return {MappedControl::Pad, boxIndex, bank};
    const int other = boxIndex - kPads;
    return {kOthers[other], kOthers[other] == MappedControl::Knob ? other : 0};
}

QSpinBox* spin(int minimum, int maximum, const char* tip) {
    auto* box = new QSpinBox;
    box->setRange(minimum, maximum);
    box->setToolTip(QString::fromLatin1(tip));
    return box;
}

QComboBox* choices(std::initializer_list<const char*> items, const char* tip) {
    auto* box = new QComboBox;
    for (const char* item : items)
        box->addItem(QString::fromLatin1(item));
    box->setToolTip(QString::fromLatin1(tip));
    return box;
}
} // namespace

MappingEditor::MappingEditor(QWidget* parent) : QWidget(parent) {
    buildFields();
    buildVelocity();
    showSelected();
}

void MappingEditor::buildFields() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    layout->addLayout(form);

    controlBox = new QComboBox;
    for (int pad = 0; pad < kPads; ++pad)
        controlBox->addItem(QStringLiteral("Pad %1").arg(pad + 1));
    for (const char* name : kOtherNames)
        controlBox->addItem(QString::fromLatin1(name));
    controlBox->setToolTip(QStringLiteral(
        "The control being edited. Click it on the view, or touch it on the controller, to "
        "choose it"));
    bankBox = choices({"Bank 1", "Bank 2", "Bank 3"},
                      "The bank whose pad is edited: each bank's pads send messages of their own");
    auto* which = new QHBoxLayout;
    which->addWidget(controlBox, 1);
    which->addWidget(bankBox);
    form->addRow(QStringLiteral("Control"), which);

    kindBox = choices({"Built-in", "Note", "Control change", "Program change"},
                      "What the control sends: its built-in message (as set in \"Config\"), or a "
                      "note, control change or program change of your choice");
    form->addRow(QStringLiteral("Sends"), kindBox);

    numberBox = spin(0, 127, "The note, controller or program number, 0 to 127 (C1 = note 36)");
    numberName = new QLabel;
    numberName->setToolTip(
        QStringLiteral("The note's name and, for notes 35 to 81, its General MIDI drum"));
    auto* number = new QHBoxLayout;
    number->addWidget(numberBox);
    number->addWidget(numberName, 1);
    form->addRow(QStringLiteral("Number"), number);

    channelBox = new QComboBox;
    channelBox->addItem(QStringLiteral("Global"));
    for (int channel = 1; channel <= 16; ++channel)
        channelBox->addItem(QString::number(channel));
    channelBox->setToolTip(QStringLiteral(
        "The MIDI channel: \"Global\" is the channel set in \"Config\", or one of its own"));
    form->addRow(QStringLiteral("Channel"), channelBox);

    learn = new QToolButton;
    learn->setText(QStringLiteral("Learn"));
    learn->setCheckable(true);
    learn->setToolTip(QStringLiteral(
        "Arm, then send a note or controller from your music software: its number and channel "
        "become this control's message"));
    form->addRow(QString(), learn);

    connect(controlBox, &QComboBox::currentIndexChanged, this, [this] { chooseControl(); });
    connect(bankBox, &QComboBox::currentIndexChanged, this, [this] { chooseControl(); });
    connect(kindBox, &QComboBox::currentIndexChanged, this, [this] { edited(); });
    connect(numberBox, &QSpinBox::valueChanged, this, [this] { edited(); });
    connect(channelBox, &QComboBox::currentIndexChanged, this, [this] { edited(); });
}

void MappingEditor::buildVelocity() {
    velocityPane = new QWidget;
    auto* form = new QFormLayout(velocityPane);
    form->setContentsMargins(0, 0, 0, 0);
    ownShape = new QCheckBox(QStringLiteral("Own velocity shape"));
    ownShape->setToolTip(QStringLiteral(
        "Checked: this pad shapes its velocities as set below. Unchecked: it uses the scene's "
        "default shape, which the fields below then set for every pad without its own"));
    form->addRow(ownShape);
    curveBox = choices({"Linear", "Soft", "Hard"},
                       "How hit force becomes velocity: as played, louder soft hits (Soft), or "
                       "quieter soft hits (Hard)");
    form->addRow(QStringLiteral("Curve"), curveBox);
    minimumBox = spin(1, 127, "The velocity of the softest hit that sounds");
    maximumBox = spin(1, 127, "The velocity of the hardest hit");
    auto* range = new QHBoxLayout;
    range->addWidget(minimumBox);
    range->addWidget(new QLabel(QStringLiteral("to")));
    range->addWidget(maximumBox);
    form->addRow(QStringLiteral("Velocity"), range);
    thresholdBox = spin(0, 127, "Hits softer than this are ignored, and their releases too");
    form->addRow(QStringLiteral("Threshold"), thresholdBox);
    fixedBox = spin(0, 127, "Every hit sends this velocity; \"Off\": the shaped velocity");
    fixedBox->setSpecialValueText(QStringLiteral("Off"));
    form->addRow(QStringLiteral("Fixed"), fixedBox);
    static_cast<QVBoxLayout*>(layout())->addWidget(velocityPane);
    static_cast<QVBoxLayout*>(layout())->addStretch(1);

    connect(ownShape, &QCheckBox::toggled, this, [this] { edited(); });
    connect(curveBox, &QComboBox::currentIndexChanged, this, [this] { edited(); });
    for (QSpinBox* box : {minimumBox, maximumBox, thresholdBox, fixedBox})
        connect(box, &QSpinBox::valueChanged, this, [this] { edited(); });
}

void MappingEditor::setMapping(const Mapping& mapping) {
    if (mapping == mapping_)
        return;
    mapping_ = mapping;
    showSelected();
}

void MappingEditor::select(const MappedControl& control) {
    if (control == selected_)
        return;
    selected_ = control;
    showSelected();
}

void MappingEditor::chooseControl() {
    if (showing_)
        return;
    select(controlAt(controlBox->currentIndex(), bankBox->currentIndex()));
}

VelocityShape& MappingEditor::editedShape() {
    PadMapping& pad = mapping_.pads.at(selected_.index).at(selected_.bank);
    return pad.ownShape ? pad.shape : mapping_.velocity;
}

void MappingEditor::showSelected() {
    showing_ = true;
    const bool isPad = selected_.kind == MappedControl::Pad;
    auto* kindModel = static_cast<QStandardItemModel*>(kindBox->model());
    const MappedMessage& message = MessageOf(mapping_, selected_);
    controlBox->setCurrentIndex(boxIndex(selected_));
    bankBox->setCurrentIndex(selected_.bank);
    bankBox->setEnabled(isPad);
    for (int kind = 0; kind < kindBox->count(); ++kind)
        kindModel->item(kind)->setEnabled(Allows(selected_, static_cast<MessageKind>(kind)));
    kindBox->setCurrentIndex(static_cast<int>(message.kind));
    numberBox->setValue(message.number);
    channelBox->setCurrentIndex(message.channel + 1);
    numberBox->setEnabled(message.Set());
    channelBox->setEnabled(message.Set());
    QString name;
    if (message.kind == MessageKind::Note) {
        name = NoteName(message.number);
        if (const QString drum = DrumName(message.number); !drum.isEmpty())
            name += QStringLiteral(" · ") + drum;
    }
    numberName->setText(name);
    velocityPane->setVisible(isPad);
    if (isPad) {
        ownShape->setChecked(mapping_.pads.at(selected_.index).at(selected_.bank).ownShape);
        const VelocityShape& shape = editedShape();
        curveBox->setCurrentIndex(static_cast<int>(shape.curve));
        minimumBox->setValue(shape.minimum);
        maximumBox->setValue(shape.maximum);
        thresholdBox->setValue(shape.threshold);
        fixedBox->setValue(shape.fixed);
    }
    showing_ = false;
}

void MappingEditor::edited() {
    if (showing_)
        return;
    MappedMessage& message = MessageOf(mapping_, selected_);
    message.kind = static_cast<MessageKind>(kindBox->currentIndex());
    message.number = static_cast<int8_t>(numberBox->value());
    message.channel = static_cast<int8_t>(channelBox->currentIndex() - 1);
    // Built-in leaves nothing behind: the mapping is as if the control was never mapped.
    if (!message.Set())
        message = {};
    if (selected_.kind == MappedControl::Pad) {
        PadMapping& pad = mapping_.pads.at(selected_.index).at(selected_.bank);
        const bool switched = pad.ownShape != ownShape->isChecked();
        pad.ownShape = ownShape->isChecked();
        // Switching between the pad's own shape and the default shows the other one.
        if (!switched) {
            VelocityShape& shape = editedShape();
            shape.curve = static_cast<VelocityCurve>(curveBox->currentIndex());
            shape.minimum = static_cast<uint8_t>(minimumBox->value());
            shape.maximum = static_cast<uint8_t>(maximumBox->value());
            shape.threshold = static_cast<uint8_t>(thresholdBox->value());
            shape.fixed = static_cast<uint8_t>(fixedBox->value());
        }
    }
    showSelected();
    if (apply_)
        apply_(mapping_);
}

bool MappingEditor::learnFrom(ByteView message) {
    if (!learn->isChecked())
        return false;
    const std::optional<MappedMessage> learned = LearnedMessage(message);
    if (!learned || !Allows(selected_, learned->kind))
        return false;
    MessageOf(mapping_, selected_) = *learned;
    learn->setChecked(false);
    showSelected();
    if (apply_)
        apply_(mapping_);
    return true;
}
