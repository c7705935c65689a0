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
constexpr Row kRows[] = {
    {"NoteRepeatControl", "Note repeat is held on by", "\"Off\" or \"Pedal\"",
     "While this control is held, held pads repeat; it sends nothing else then. \"Off\": every "
     "control does what it always did"},
    {"NoteRepeatRate", "Note repeat rate", "1/4, 1/8, 1/16 or 1/32, with T for triplets",
     "How often a held pad plays again: a quarter note down to a 32nd, T for triplets"},
    {"NoteRepeatSwing", "Note repeat swing (%)", "a number from 0 to 100",
     "How late every second repeat comes, as a share of half a step"},
    {"NoteRepeatGate", "Note repeat gate (%)", "a number from 0 to 100",
     "How long each repeat sounds, as a share of the time to the next one"},
    {"OwnTempo", "Own tempo (BPM)", "a number from 20 to 300",
     "The tempo repeats keep when no transport master is rolling"},
};

QString textOf(const QWidget* field) {
    if (const auto* box = qobject_cast<const QLineEdit*>(field))
        return box->text();
    return static_cast<const QComboBox*>(field)->currentText();
}

void show(QWidget* field, const std::string& text) {
    if (auto* box = qobject_cast<QLineEdit*>(field))
        return box->setText(QString::fromStdString(text));
    static_cast<QComboBox*>(field)->setCurrentText(QString::fromStdString(text));
}
} // namespace

void RepeatConfigRows::build(QGridLayout* grid) {
    cmbControl = new QComboBox;
    cmbControl->addItems({QStringLiteral("Off"), QStringLiteral("Pedal")});
    cmbRate = new QComboBox;
    for (const char* rate : {"1/4", "1/8", "1/16", "1/32", "1/4T", "1/8T", "1/16T", "1/32T"})
        cmbRate->addItem(QString::fromLatin1(rate));
    txtSwing = new QLineEdit;
    txtGate = new QLineEdit;
    txtOwnTempo = new QLineEdit;
    QWidget* fields[] = {cmbControl, cmbRate, txtSwing, txtGate, txtOwnTempo};
    for (size_t i = 0; i < std::size(kRows); ++i) {
        const int row = grid->rowCount();
        auto* label = new QLabel(QString::fromUtf8(kRows[i].label));
        label->setWordWrap(true);
        fields[i]->setObjectName(QString::fromLatin1(kRows[i].key));
        for (QWidget* widget : {static_cast<QWidget*>(label), fields[i]})
            widget->setToolTip(QString::fromUtf8(kRows[i].help));
        grid->addWidget(label, row, 0);
        grid->addWidget(fields[i], row, 1);
    }
}

namespace {
QWidget* fieldOf(const RepeatConfigRows& rows, size_t i) {
    QWidget* const fields[] = {rows.cmbControl, rows.cmbRate, rows.txtSwing, rows.txtGate,
                               rows.txtOwnTempo};
    return fields[i];
}
} // namespace

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
    return nullptr;
}

void RepeatConfigRows::save(ControllerSettings& settings) const {
    for (size_t i = 0; i < std::size(kRows); ++i) {
        const ConfigKey& key = *FindConfigKey(kRows[i].key);
        if (ApplySettingText(key, textOf(fieldOf(*this, i)).toStdString(), settings))
            WriteSetting(key.name, SettingTextOf(key, settings));
    }
}
