#include "ui/PortChoices.h"

#include <algorithm>
#include <map>
#include <regex>

namespace {
// A port's device: its short name without the words that only say which way it goes, so that
// "midi_capture_2" and "midi_playback_2", or "(capture): Pad" and "(playback): Pad", pair up.
std::string deviceOf(const std::string& shortName) {
    static const std::regex direction(
        R"((capture|playback|input|output|in|out|tx|rx|source|sink|send|receive))",
        std::regex::icase);
    return std::regex_replace(shortName, direction, "");
}

std::string escaped(const std::string& text) {
    static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
    return std::regex_replace(text, special, R"(\$&)");
}
} // namespace

std::string ExactPattern(const std::vector<std::string>& names) {
    std::string alternatives;
    for (const std::string& name : names) {
        if (!alternatives.empty())
            alternatives += '|';
        alternatives += escaped(name);
    }
    return "^(" + alternatives + ")$";
}

std::vector<PortChoice> PortChoices(const std::vector<PortInfo>& ports,
                                    const std::vector<std::string>& otherSide) {
    // Client, then device, in the order the ports came (physical ones first).
    std::vector<std::pair<std::string, std::string>> order;
    std::vector<std::string> clients;
    std::map<std::pair<std::string, std::string>, std::vector<std::string>> members;
    for (const PortInfo& port : ports) {
        if (port.orvan ||
            std::find(otherSide.begin(), otherSide.end(), port.name) != otherSide.end())
            continue;
        const size_t colon = port.name.find(':');
        const std::string client = port.name.substr(0, colon);
        const std::string shortName = colon == std::string::npos ? "" : port.name.substr(colon + 1);
        const auto key = std::make_pair(client, deviceOf(shortName));
        if (!members.count(key))
            order.push_back(key);
        if (std::find(clients.begin(), clients.end(), client) == clients.end())
            clients.push_back(client);
        members[key].push_back(port.name);
    }
    const auto rank = [&clients](const std::string& client) {
        return std::find(clients.begin(), clients.end(), client) - clients.begin();
    };
    std::stable_sort(order.begin(), order.end(), [&rank](const auto& a, const auto& b) {
        return rank(a.first) < rank(b.first);
    });
    std::vector<PortChoice> choices;
    for (const auto& key : order) {
        const std::vector<std::string>& names = members[key];
        std::string label;
        for (const std::string& name : names)
            label += (label.empty() ? "" : " + ") + name.substr(key.first.size() + 1);
        choices.push_back({key.first, label, ExactPattern(names)});
    }
    return choices;
}
