#include "ui/StatusArea.h"
#include "ui/PortPicker.h"
#include "ui/StatusTexts.h"

#include <QGridLayout>
#include <QLabel>

namespace {
QLabel* value(QGridLayout* grid, int row, const char* caption, int span = 2) {
    grid->addWidget(new QLabel(QString::fromLatin1(caption)), row, 0, Qt::AlignTop);
    auto* label = new QLabel;
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(label, row, 1, 1, span);
    return label;
}

const QString kWarningStyle = QStringLiteral("color: #b00020;");

void setText(QLabel* label, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (label->text() != shown)
        label->setText(shown);
}
} // namespace

StatusArea::StatusArea(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(1, 1);
    server = value(grid, 0, "JACK server:");
    controller = value(grid, 1, "Controller:", 1);
    controllerPicker = new PortPicker;
    controllerPicker->setObjectName(QStringLiteral("controllerPicker"));
    grid->addWidget(controllerPicker, 1, 2, Qt::AlignTop);
    daw = value(grid, 2, "Music software:", 1);
    dawPicker = new PortPicker;
    dawPicker->setObjectName(QStringLiteral("dawPicker"));
    grid->addWidget(dawPicker, 2, 2, Qt::AlignTop);
    nativeMode = value(grid, 3, "Native mode:");
    dropped = value(grid, 4, "Dropped:");
    lastIn = value(grid, 5, "Last in:");
    lastOut = value(grid, 6, "Last out:");
    warnings = new QLabel;
    warnings->setWordWrap(true);
    warnings->setStyleSheet(kWarningStyle);
    grid->addWidget(warnings, 7, 0, 1, 3);
}

void StatusArea::showLink(const LinkStatus& link) {
    setText(server, ServerText(link));
    const bool lost = link.state == LinkStatus::State::Lost;
    server->setStyleSheet(lost ? kWarningStyle : QString());
    setText(controller, ConnectionText(link.controllerFrom, link.controllerTo));
    controllerConnected_ = !link.controllerTo.empty();
    setText(daw, ConnectionText(link.dawFrom, link.dawTo));
    std::string text;
    for (const std::string& warning : link.warnings)
        text += (text.empty() ? "" : "\n") + warning;
    setText(warnings, text);
    warnings->setVisible(!text.empty());
}

void StatusArea::showEngine(const EngineSnapshot& engine, const DropCounts& drops, bool pending) {
    setText(nativeMode, NativeModeText(engine, controllerConnected_, pending));
    setText(dropped, DropsText(drops));
}

void StatusArea::showLast(const std::string& in, const std::string& out) {
    if (!in.empty())
        setText(lastIn, in);
    if (!out.empty())
        setText(lastOut, out);
}
