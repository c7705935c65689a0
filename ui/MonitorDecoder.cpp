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

std::string hex(const MonitoredMessage& message) {
    std::string text;
    char pair[4];
    for (size_t i = 0; i < message.kept(); ++i) {
        std::snprintf(pair, sizeof pair, i ? " %02X" : "%02X", message.bytes[i]);
        text += pair;
    }
    if (message.header.size > message.kept())
        text += " ...";
    return text;
}

std::string line(const MonitorLine& l, const std::string& bytes) {
    const int64_t ms = l.clockMs;
    char head[80];
    std::snprintf(head, sizeof head, "%02d:%02d:%02d.%03d  ", static_cast<int>(ms / 3600000 % 24),
                  static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60),
                  static_cast<int>(ms % 1000));
    if (l.notice)
        return head + l.words.text;
    std::string text = head;
    std::snprintf(head, sizeof head, "%-3s %-14s  %-*s  ", l.sent ? "out" : "in",
                  portName(l.sent, l.port), static_cast<int>(kBytesColumn), bytes.c_str());
    text += head;
    return text + l.words.text;
}
} // namespace

std::string MonitorLine::text() const {
    if (bytes.size() <= kBytesColumn)
        return line(*this, bytes);
    // Cut at a byte's end, with room for the mark.
    const size_t cut = (kBytesColumn - 4) / 3 * 3 - 1;
    return line(*this, bytes.substr(0, cut) + " ...");
}

std::string MonitorLine::fullText() const {
    return line(*this, bytes);
}

MonitorLine MonitorDecoder::notice(int64_t clockMs, const std::string& text) {
    MonitorLine l;
    l.clockMs = clockMs;
    l.words = {MonitorKind::Other, text};
    l.notice = true;
    return l;
}

MonitorLine MonitorDecoder::decode(const MonitoredMessage& message, const ControllerState& pads,
                                   int64_t clockMs) {
    const MonitoredMessage::Header& h = message.header;
    const ByteView bytes(message.bytes.data(), message.kept());
    MonitorLine l;
    l.clockMs = clockMs;
    l.sent = h.sent;
    l.port = h.port;
    l.words = h.sent ? SentWords(h.port, bytes, h.size) : ReceivedWords(bytes, h.size, pads);
    l.bytes = hex(message);
    if (!bytes.empty() && bytes[0] >= 0x80 && bytes[0] < 0xF0)
        l.channel = (bytes[0] & 0x0F) + 1;
    if (!h.sent)
        lastInput_ = h.frame;
    else if (lastInput_ == h.frame)
        l.words.text = "\u2192 " + l.words.text;
    return l;
}
