#pragma once

#include "ui/PortChoices.h"

#include <QComboBox>

#include <functional>
#include <string>

// A chooser of the devices one side connects to, grouped by client under headers that cannot
// be chosen. "(none)" leaves the side unconnected; a pattern from the command line shows as
// itself.
class PortPicker : public QComboBox {
public:
    explicit PortPicker(QWidget* parent = nullptr);

    // Fills the list anew and selects the entry of the current pattern.
    void fill(const std::vector<PortChoice>& choices, const std::string& current);
    std::string patternAt(int index) const;

    // Called with the pattern the user chose.
    std::function<void(const std::string& pattern)> chosen;
};
