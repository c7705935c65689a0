#include "host/jack/JackHost.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <set>
#include <thread>

// The JACK graph as the host shows it: device lists, the instance number, and the connections
// the launch patterns ask for. Everything here runs on the GUI thread except onPortRegistered.

namespace {
std::vector<std::string> takeNames(const char** names) {
    std::vector<std::string> list;
    for (size_t i = 0; names && names[i]; ++i)
        list.emplace_back(names[i]);
    if (names)
        jack_free(names);
    return list;
}

std::string clientPart(const std::string& portName) {
    return portName.substr(0, portName.find(':'));
}

// 1 for the name itself, 2 for the first name JACK made unique ("-01"), and so on; 0 otherwise.
int32_t instanceOf(const std::string& name, const std::string& base) {
    if (name == base)
        return 1;
    if (name.size() <= base.size() + 1 || name.compare(0, base.size(), base) != 0 ||
        name[base.size()] != '-')
        return 0;
    const std::string suffix = name.substr(base.size() + 1);
    if (suffix.size() > 4 || !std::all_of(suffix.begin(), suffix.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        }))
        return 0;
    return std::stoi(suffix) + 1;
}
} // namespace

std::string JackHost::Listing::first(std::vector<std::string> fresh) {
    names = std::move(fresh);
    next = 0;
    return advance();
}

std::string JackHost::Listing::advance() {
    return next < names.size() ? names[next++] : std::string();
}

std::string JackHost::HostSysMidiInFirst() {
    return listings_[0].first(otherMidiPorts(JackPortIsOutput));
}
std::string JackHost::HostSysMidiInNext() {
    return listings_[0].advance();
}
std::string JackHost::HostSysMidiOutFirst() {
    return listings_[1].first(otherMidiPorts(JackPortIsInput));
}
std::string JackHost::HostSysMidiOutNext() {
    return listings_[1].advance();
}
std::string JackHost::HostOpenMidiInFirst() {
    return listings_[2].first(connectionsOf(ControllerIn, DawIn));
}
std::string JackHost::HostOpenMidiInNext() {
    return listings_[2].advance();
}
std::string JackHost::HostOpenMidiOutFirst() {
    return listings_[3].first(connectionsOf(ControllerOut, DawOut));
}
std::string JackHost::HostOpenMidiOutNext() {
    return listings_[3].advance();
}

int32_t JackHost::HostInstanceNumber() {
    return std::max(instanceOf(clientName_, requestedName_), 1);
}

// How many clients under Orvan's client name run on this server, this one included.
int32_t JackHost::HostInstanceQuery() {
    if (shutDown_.load())
        return 1;
    std::set<std::string> instances{clientName_};
    for (const std::string& port : takeNames(jack_get_ports(client_, nullptr, nullptr, 0))) {
        const std::string client = clientPart(port);
        if (instanceOf(client, requestedName_) > 0)
            instances.insert(client);
    }
    return static_cast<int32_t>(instances.size());
}

bool JackHost::isOwnPort(const std::string& name) const {
    const std::string client = clientPart(name);
    return client == clientName_ || client == feedbackName_;
}

// MIDI ports of the other clients that send (JackPortIsOutput) or receive, physical ones first.
std::vector<std::string> JackHost::otherMidiPorts(unsigned long direction) const {
    if (shutDown_.load())
        return {};
    std::vector<std::string> ports =
        takeNames(jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE, direction));
    std::erase_if(ports, [this](const std::string& name) { return isOwnPort(name); });
    std::stable_partition(ports.begin(), ports.end(), [this](const std::string& name) {
        jack_port_t* port = jack_port_by_name(client_, name.c_str());
        return port && (jack_port_flags(port) & JackPortIsPhysical);
    });
    return ports;
}

std::vector<std::string> JackHost::connectionsOf(Port a, Port b) const {
    if (shutDown_.load())
        return {};
    std::vector<std::string> names;
    for (Port port : {a, b}) {
        for (std::string& name : takeNames(jack_port_get_connections(ports_[port]))) {
            if (std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(std::move(name));
        }
    }
    return names;
}

// Connects a port to the side(s) whose pattern matches its full name: a sending port to the
// side's input, a receiving port to its output. True when controller_out was newly connected;
// `connected` is set when any connection was made.
bool JackHost::connectMatching(const std::string& name, int flags, bool& connected) {
    if (isOwnPort(name) || shutDown_.load())
        return false;
    const bool sends = (flags & JackPortIsOutput) != 0;
    const auto link = [&](const std::optional<std::regex>& pattern, Port in, Port out) {
        if (!pattern || !std::regex_search(name, *pattern))
            return false;
        const std::string from = sends ? name : portName(out);
        const std::string to = sends ? portName(in) : name;
        const bool made = jack_connect(client_, from.c_str(), to.c_str()) == 0;
        connected = connected || made;
        return made && !sends;
    };
    const bool controllerSink = link(controllerPattern_, ControllerIn, ControllerOut);
    link(dawPattern_, DawIn, DawOut);
    return controllerSink;
}

// A new connection takes effect at the start of a later process cycle. Waiting for two of
// Orvan's own cycles makes sure that what is sent next travels over it. Bounded: a stalled
// server does not stall the window.
void JackHost::awaitNewGraph() {
    const uint64_t from = runner_->Cycles();
    for (int waited = 0; waited < 500 && !shutDown_.load(); ++waited) {
        if (runner_->Cycles() >= from + 2)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void JackHost::connectExisting() {
    if (!controllerPattern_ && !dawPattern_)
        return;
    bool connected = false;
    for (unsigned long direction : {JackPortIsOutput, JackPortIsInput}) {
        for (const std::string& name : otherMidiPorts(direction))
            connectMatching(name, static_cast<int>(direction), connected);
    }
    if (connected)
        awaitNewGraph();
}

void JackHost::registrationThunk(jack_port_id_t id, int registered, void* self) {
    if (registered)
        static_cast<JackHost*>(self)->onPortRegistered(id);
}

// Notification thread: the port's name is taken now, while it surely exists.
void JackHost::onPortRegistered(jack_port_id_t id) {
    if (!controllerPattern_ && !dawPattern_)
        return;
    jack_port_t* port = jack_port_by_id(client_, id);
    if (!port)
        return;
    const char* type = jack_port_type(port);
    if (!type || std::string(type) != JACK_DEFAULT_MIDI_TYPE)
        return;
    std::lock_guard<std::mutex> lock(appearedLock_);
    appeared_.push_back({jack_port_name(port), jack_port_flags(port)});
}

void JackHost::handleAppearedPorts() {
    std::vector<Appeared> appeared;
    {
        std::lock_guard<std::mutex> lock(appearedLock_);
        appeared.swap(appeared_);
    }
    for (const Appeared& port : appeared) {
        bool connected = false;
        const bool controllerBack = connectMatching(port.name, port.flags, connected);
        if (connected)
            awaitNewGraph();
        if (controllerBack && events_.ControllerReturned)
            events_.ControllerReturned();
    }
}
