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
    std::snprintf(head, sizeof head, "%9.3f  %-3s %-14s  ", seconds, sent ? "out" : "in",
                  portName(sent, port));
    return head + words.text;
}

MonitorLine MonitorDecoder::decode(const MonitoredMessage& message, const ControllerState& pads) {
    const MonitoredMessage::Header& h = message.header;
    if (!first_)
        first_ = h.frame;
    const Frame since = h.frame > *first_ ? h.frame - *first_ : 0;
    const ByteView bytes(message.bytes.data(), message.kept());
    MonitorLine line{static_cast<double>(since) / sampleRate_, h.sent, h.port,
                     h.sent ? SentWords(h.port, bytes, h.size)
                            : ReceivedWords(bytes, h.size, pads)};
    if (!h.sent)
        lastInput_ = h.frame;
    else if (lastInput_ == h.frame)
        line.words.text = "\u2192 " + line.words.text;
    return line;
}
