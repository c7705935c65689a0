// Any text through the SysEx input, a millisecond apart. Lines are separate messages; a line
// starting with '#' gets the native-mode header in front, so that most inputs reach the report
// handlers.
#include "EngineUnderFuzz.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ControllerEngine& m = EngineUnderFuzz(data, size);
    const std::string text(reinterpret_cast<const char*>(data) + (size > 0), size - (size > 0));
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line[0] == '#')
            line = "F0 42 40 6E 08 " + line.substr(1);
        HostInput input;
        input.frame = m.Now() + 48;
        input.sysEx = true;
        input.text = line;
        m.Deliver(input);
        start = end + 1;
    }
    SettleAndCheck(m);
    return 0;
}
