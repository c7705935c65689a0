#include "host/EngineRunner.h"
#include "ui/ControllerView.h"
#include "ui/MappingEditor.h"
#include "ui/frmMain.h"

#include <QToolButton>

// The mapping editor beside the controller view: what it is told by the view, the controller and
// the music software, and where its changes go.

void frmMain::buildEditor() {
    mappingEditor = new MappingEditor;
    mappingEditor->setVisible(false);
    mappingEditor->setApply(
        [this](const Mapping& mapping) { RunEvent([this, &mapping] { ApplyMapping(mapping); }); });
    btnMapping->setText(QStringLiteral("Mapping"));
    btnMapping->setCheckable(true);
    btnMapping->setToolTip(QStringLiteral(
        "Show or hide the mapping editor: what each pad, knob, XY axis, the pedal and the jog "
        "wheel send. Click a control on the view, or touch it on the controller, to edit it"));
    connect(btnMapping, &QToolButton::toggled, mappingEditor, &QWidget::setVisible);
    controllerView->setSelectSink([this](ControllerLayout::Part part) {
        if (const auto control = ControlOfPart(part, controllerView->shownBank()))
            mappingEditor->select(*control);
    });
    controllerView->setModeSink([this](int bank, int pad, const std::string& mode) {
        RunEvent([&] {
            if (!runner_.PostPadMode(static_cast<int16_t>(bank), static_cast<int16_t>(pad), mode))
                throw HostError("the engine takes no more commands");
        });
    });
}

void frmMain::editFrom(const MonitoredMessage& message) {
    if (message.header.sent)
        return;
    const ByteView bytes(message.bytes.data(), message.kept());
    if (message.header.port == EngineRunner::FromDaw) {
        mappingEditor->learnFrom(bytes);
    } else if (message.header.port == EngineRunner::FromController && btnMapping->isChecked()) {
        if (const auto control = TouchedControl(bytes, controllerView->shownBank()))
            mappingEditor->select(*control);
    }
}
