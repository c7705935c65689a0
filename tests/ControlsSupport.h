#pragma once

#include "support/Harness.h"

#include <QTimer>

#include <string>
#include <vector>

using WireTexts = std::vector<std::string>;

// An LED packet as the engine sends it: five LED bytes, 00, three display bytes.
inline std::string LedPacket(const std::string& leds, const std::string& display) {
    return "F0 42 40 6E 08 3F 0A 01 " + leds + " 00 " + display + " F7";
}

// The report arrives while the engine waits next (inside a pulse), and is handled nested there.
inline void ReportDuringNextWait(Harness& h, const std::string& payload) {
    QTimer::singleShot(0, &h.main(), [&h, payload] { h.report(payload); });
}
