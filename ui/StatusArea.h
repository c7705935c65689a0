#pragma once

#include "host/EngineSnapshot.h"
#include "host/MidiHost.h"
#include "ui/ElidedLabel.h"

#include <QWidget>

#include <string>

class PortPicker;
class QComboBox;
class QToolButton;

// Where a user looks first: the server and its state, how the controller and the music software
// are connected (and the pickers that connect them), native mode with bank and channel, what was
// lost, the last message in and out, and warnings.
class StatusArea : public QWidget {
public:
    explicit StatusArea(QWidget* parent = nullptr);

    void showLink(const LinkStatus& link);
    // pending: "Native Mode" was pressed and the engine has not entered it yet.
    void showEngine(const EngineSnapshot& engine, const DropCounts& drops, bool pending);
    void showLast(const std::string& in, const std::string& out);
    void showLoad(const ServerLoad& load);

    // One line each: a long text is cut, and whole in its tooltip.
    ElidedLabel* server = nullptr;
    ElidedLabel* controller = nullptr;
    ElidedLabel* daw = nullptr;
    ElidedLabel* nativeMode = nullptr;
    ElidedLabel* noteRepeat = nullptr;
    QToolButton* repeatLatch = nullptr; // checked: note repeat is latched on
    ElidedLabel* dropped = nullptr;
    ElidedLabel* lastIn = nullptr;
    ElidedLabel* lastOut = nullptr;
    ElidedLabel* load = nullptr;
    ElidedLabel* warnings = nullptr; // each warning a line; empty when there is none
    // The active scene, chosen from the saved ones, and what can be done with scenes.
    QComboBox* scenePicker = nullptr;
    QToolButton* sceneMenu = nullptr;
    // What to do about the setup, a hint a paragraph; hidden when all is well. The window puts
    // it where its appearing moves no row.
    QLabel* doctor = nullptr;
    PortPicker* controllerPicker = nullptr;
    PortPicker* dawPicker = nullptr;

private:
    bool controllerConnected_ = false; // controller_out leads somewhere
};
