#include "ui/SetupDoctor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
// The clients under which MIDI devices appear when ALSA MIDI is bridged: a2jmidid's, and
// PipeWire's JACK layer's.
bool looksLikeDevice(const PortInfo& port) {
    if (port.orvan)
        return false;
    const std::string client = port.name.substr(0, port.name.find(':'));
    return port.physical || client == "a2j" || client == "Midi-Bridge";
}
} // namespace

std::vector<std::string> SetupHints(const LinkStatus& link) {
    std::vector<std::string> hints;
    if (link.state != LinkStatus::State::Attached)
        return hints;
    if (std::none_of(link.ports.begin(), link.ports.end(), looksLikeDevice))
        hints.push_back(
            "No MIDI device is on this JACK server, so the controller cannot show up. On jackd, "
            "bridge the ALSA MIDI devices: run \"a2jmidid -e\" (or start jackd with \"-X seq\"). "
            "On PipeWire, a plugged-in controller appears under the client \"Midi-Bridge\".");
    if (link.period > kPlayablePeriod && link.sampleRate > 0) {
        char text[512];
        const uint32_t better = kPlayablePeriod;
        std::snprintf(
            text, sizeof text,
            "The server's period of %u frames alone delays every pad by %.1f ms; finger "
            "drummers feel more than about 10 ms. Lower it: start jackd with \"-p %u\" (or set "
            "Frames/Period in QjackCtl); on PipeWire start Orvan as "
            "\"PIPEWIRE_QUANTUM=%u/%u pw-jack orvan\" (%.1f ms).",
            link.period, link.period * 1000.0 / link.sampleRate, better, better, link.sampleRate,
            better * 1000.0 / link.sampleRate);
        hints.emplace_back(text);
    }
    return hints;
}

std::string LoadText(const ServerLoad& load) {
    if (load.dspLoad < 0)
        return "not attached";
    const std::string late = load.xruns == 0 ? "no late cycles (xruns)"
                             : load.xruns == 1
                                 ? "1 late cycle (xrun)"
                                 : std::to_string(load.xruns) + " late cycles (xruns)";
    return "DSP load " + std::to_string(static_cast<int>(std::lround(load.dspLoad))) + " %, " +
           late + " since Orvan started";
}
