#include "ui/PortPicker.h"

#include <QStandardItemModel>

PortPicker::PortPicker(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (chosen)
            chosen(patternAt(index));
    });
}

void PortPicker::fill(const std::vector<PortChoice>& choices, const std::string& current) {
    clear();
    addItem(QStringLiteral("(none)"), QString());
    int selected = 0;
    std::string client;
    for (const PortChoice& choice : choices) {
        if (choice.client != client) {
            client = choice.client;
            addItem(QString::fromStdString(client));
            auto* model = static_cast<QStandardItemModel*>(this->model());
            model->item(count() - 1)->setEnabled(false);
        }
        addItem(QStringLiteral("    ") + QString::fromStdString(choice.label),
                QString::fromStdString(choice.pattern));
        if (choice.pattern == current)
            selected = count() - 1;
    }
    if (!current.empty() && selected == 0) {
        addItem(QStringLiteral("pattern: ") + QString::fromStdString(current),
                QString::fromStdString(current));
        selected = count() - 1;
    }
    setCurrentIndex(selected);
}

std::string PortPicker::patternAt(int index) const {
    return itemData(index).toString().toStdString();
}
