#include "ui/MonitorDecoder.h"

#include "host/EngineRunner.h"

#include <cstdio>

namespace {
const char* portName(bool sent, uint8_t port) {
    if (sent)
        return port == EngineRunner::ToController ? "controller" : "music software";
    switch (port) {
    case EngineRunner::FromController:
        return "controller";
    case EngineRunner::FromDaw:
        return "music software";
    default:
        return "screen";
    }
}
} // namespace

std::string MonitorLine::text() const {
    char head[48];
    if (notice) {
        std::snprintf(head, sizeof head, "%9.3f  ", seconds);
        return head + words.text;
    }
    std::snprintf(head, sizeof head, "%9.3f  %-3s %-14s  ", seconds, sent ? "out" : "in",
                  portName(sent, port));
    return head + words.text;
}

double MonitorDecoder::secondsAt(Frame frame) {
    if (!first_)
        first_ = frame;
    return static_cast<double>(frame > *first_ ? frame - *first_ : 0) / sampleRate_;
}

MonitorLine MonitorDecoder::notice(Frame frame, const std::string& text) {
    return {secondsAt(frame), false, 0, {MonitorKind::Other, text}, true};
}

MonitorLine MonitorDecoder::decode(const MonitoredMessage& message, const ControllerState& pads) {
    const MonitoredMessage::Header& h = message.header;
    const ByteView bytes(message.bytes.data(), message.kept());
    MonitorLine line{secondsAt(h.frame), h.sent, h.port,
                     h.sent ? SentWords(h.port, bytes, h.size)
                            : ReceivedWords(bytes, h.size, pads)};
    if (!h.sent)
        lastInput_ = h.frame;
    else if (lastInput_ == h.frame)
        line.words.text = "\u2192 " + line.words.text;
    return line;
}
