#include "ui/NativeBytes.h"

#include "host/MidiBytes.h"

#include <algorithm>
#include <string>

Bytes MessageBytes(std::string_view text) {
    Bytes bytes(text.size());
    bytes.resize(SysExBytes(text, bytes.data(), bytes.size()));
    return bytes;
}

Bytes HeadBytes(std::string_view text) {
    Bytes bytes = MessageBytes(std::string(text) + " F7");
    if (!bytes.empty())
        bytes.pop_back();
    return bytes;
}

bool StartsWith(ByteView message, ByteView head) {
    return message.size() >= head.size() && std::equal(head.begin(), head.end(), message.begin());
}
