#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about window: name, version and a link to the project's home page, when it has one.
class frmInfo : public QDialog {
    Q_OBJECT

public:
    explicit frmInfo(QWidget* parent = nullptr);

    QLabel* lblLink = nullptr;
    QPushButton* btnClose = nullptr;
};
