#pragma once

#include <QString>

#include <functional>

class QWidget;

// The one way Orvan asks or tells the user something, so that tests can answer for the user.
enum class MsgKind { Information, Question, Warning, Critical };
enum class MsgAnswer { Ok, Yes, No };

struct MessageRequest {
    QString title;
    QString text;
    MsgKind kind = MsgKind::Information;
    bool yesNo = false;  // Yes and No buttons instead of a single OK
    bool logged = false; // said on standard error too
};

using MessageHandler = std::function<MsgAnswer(const MessageRequest&)>;

MsgAnswer ShowMessage(QWidget* parent, const MessageRequest& request);

// Replaces the message boxes (tests); an empty handler brings them back.
void SetMessageHandler(MessageHandler handler);
