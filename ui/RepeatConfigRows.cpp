#include "ui/RepeatConfigRows.h"

#include "settings/SettingKeys.h"
#include "settings/mSettings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {
struct Row {
    const char* key;
    const char* label;
    const char* rule; // what the row accepts, for the message that refuses a text
    const char* help;
};
constexpr const char* kControlRule = "\"Off\", \"Pedal\" or \"Note button 1\" to 6";
constexpr Row kRows[] = {
    {"NoteRepeatControl", "Note repeat is held on by", kControlRule,
     "While this control is held, held pads repeat and the jog wheel chooses the rate; it sends "
     "nothing else then. \"Off\": every control does what it always did"},
    {"NoteRepeatRate", "Note repeat rate", "1/4, 1/8, 1/16 or 1/32, with T for triplets",
     "How often a held pad plays again: a quarter note down to a 32nd, T for triplets"},
    {"NoteRepeatSwing", "Note repeat swing (%)", "a number from 0 to 100",
     "How late every second repeat comes, as a share of half a step"},
    {"NoteRepeatGate", "Note repeat gate (%)", "a number from 0 to 100",
     "How long each repeat sounds, as a share of the time to the next one"},
    {"OwnTempo", "Own tempo (BPM)", "a number from 20 to 300",
     "The tempo repeats keep when no transport master is rolling"},
    {"TapTempoControl", "Own tempo is tapped on", kControlRule,
     "Tap this control in time to set the own tempo; it sends nothing else then"},
};

QString textOf(const QWidget* field) {
    if (const auto* box = qobject_cast<const QLineEdit*>(field))
        return box->text();
    return static_cast<const QComboBox*>(field)->currentText();
}

QWidget* fieldOf(const RepeatConfigRows& rows, size_t i) {
    QWidget* const fields[] = {rows.cmbControl, rows.cmbRate,     rows.txtSwing,
                               rows.txtGate,    rows.txtOwnTempo, rows.cmbTapControl};
    return fields[i];
}

void show(QWidget* field, const std::string& text) {
    if (auto* box = qobject_cast<QLineEdit*>(field))
        return box->setText(QString::fromStdString(text));
    static_cast<QComboBox*>(field)->setCurrentText(QString::fromStdString(text));
}
} // namespace

void RepeatConfigRows::build(QGridLayout* grid) {
    const auto chooser = [](const char* name) {
        auto* box = new QComboBox;
        for (const std::string& text : SettingChoices(*FindConfigKey(name)))
            box->addItem(QString::fromStdString(text));
        return box;
    };
    cmbControl = chooser(key::NoteRepeatControl);
    cmbRate = chooser(key::NoteRepeatRate);
    cmbTapControl = chooser(key::TapTempoControl);
    txtSwing = new QLineEdit;
    txtGate = new QLineEdit;
    txtOwnTempo = new QLineEdit;
    for (size_t i = 0; i < std::size(kRows); ++i) {
        const int row = grid->rowCount();
        auto* label = new QLabel(QString::fromUtf8(kRows[i].label));
        label->setWordWrap(true);
        QWidget* field = fieldOf(*this, i);
        field->setObjectName(QString::fromLatin1(kRows[i].key));
        for (QWidget* widget : {static_cast<QWidget*>(label), field})
            widget->setToolTip(QString::fromUtf8(kRows[i].help));
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    }
}

void RepeatConfigRows::recall() {
    for (size_t i = 0; i < std::size(kRows); ++i) {
        const ConfigKey& key = *FindConfigKey(kRows[i].key);
        ControllerSettings probe;
        const std::string stored = ReadSetting(key.name);
        const bool usable = ApplySettingText(key, stored, probe);
        show(fieldOf(*this, i), SettingTextOf(key, usable ? probe : ControllerSettings{}));
    }
}

void RepeatConfigRows::restoreDefaults() {
    for (size_t i = 0; i < std::size(kRows); ++i)
        show(fieldOf(*this, i), FindConfigKey(kRows[i].key)->firstRun);
}

QWidget* RepeatConfigRows::invalidField(QString& why) const {
    for (size_t i = 0; i < std::size(kRows); ++i) {
        ControllerSettings probe;
        QWidget* field = fieldOf(*this, i);
        if (ApplySettingText(*FindConfigKey(kRows[i].key), textOf(field).toStdString(), probe))
            continue;
        why = QStringLiteral("\"%1\" must be %2.")
                  .arg(QString::fromUtf8(kRows[i].label), QString::fromUtf8(kRows[i].rule));
        return field;
    }
    // The control that holds repeat on would never tap.
    if (textOf(cmbTapControl) != QStringLiteral("Off") &&
        textOf(cmbTapControl) == textOf(cmbControl)) {
        why = QStringLiteral("\"%1\" must be another control than \"%2\".")
                  .arg(QString::fromUtf8(kRows[5].label), QString::fromUtf8(kRows[0].label));
        return cmbTapControl;
    }
    return nullptr;
}

void RepeatConfigRows::save(ControllerSettings& settings) const {
    for (size_t i = 0; i < std::size(kRows); ++i) {
        const ConfigKey& key = *FindConfigKey(kRows[i].key);
        if (ApplySettingText(key, textOf(fieldOf(*this, i)).toStdString(), settings))
            WriteSetting(key.name, SettingTextOf(key, settings));
    }
}
