#include "ui/FitToText.h"

#include <QPushButton>

void FitToText(QPushButton* button) {
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 20);
    button->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}
