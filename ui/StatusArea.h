#pragma once

#include "host/EngineSnapshot.h"
#include "host/MidiHost.h"

#include <QWidget>

#include <string>

class PortPicker;
class QLabel;

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

    QLabel* server = nullptr;
    QLabel* controller = nullptr;
    QLabel* daw = nullptr;
    QLabel* nativeMode = nullptr;
    QLabel* dropped = nullptr;
    QLabel* lastIn = nullptr;
    QLabel* lastOut = nullptr;
    QLabel* warnings = nullptr;
    PortPicker* controllerPicker = nullptr;
    PortPicker* dawPicker = nullptr;

private:
    bool controllerConnected_ = false; // controller_out leads somewhere
};
