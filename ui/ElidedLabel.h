#pragma once

#include <QLabel>

// A one-line label that never grows or wraps: a text wider than the label is cut with "…",
// and its tooltip then adds the whole text. text() is always the whole text. Rows of such
// labels stand still however long their texts get.
class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // What the label shows now: the text, or its start and "…".
    QString shownText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
