#include "ui/MessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>

#include <cstdio>

namespace {
MessageHandler& handler() {
    static MessageHandler h;
    return h;
}

// Without a screen nobody can click a box: say it on standard error and take the safe answer.
bool headless() {
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("offscreen") || name == QLatin1String("minimal");
}
} // namespace

void SetMessageHandler(MessageHandler h) {
    handler() = std::move(h);
}

MsgAnswer ShowMessage(QWidget* parent, const MessageRequest& request) {
    if (handler())
        return handler()(request);
    if (headless() || request.logged)
        std::fprintf(stderr, "orvan: %s: %s\n", qPrintable(request.title),
                     qPrintable(request.text));
    if (headless())
        return request.yesNo ? MsgAnswer::No : MsgAnswer::Ok;
    QMessageBox box(parent);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    switch (request.kind) {
    case MsgKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgKind::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgKind::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    box.setStandardButtons(request.yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    const int answer = box.exec();
    if (!request.yesNo)
        return MsgAnswer::Ok;
    return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}
