#include "host/jack/JackHost.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <thread>

// The JACK graph as the host shows it: device lists, the instance number, the connections the
// patterns ask for and those remembered across a server's absence, and what the user should
// be warned of. Everything here runs on the window's thread except the notification callbacks.

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
    return std::max(instanceOf(clientName_, options_.clientName), 1);
}

// How many clients under Orvan's client name run on this server, this one included.
int32_t JackHost::HostInstanceQuery() {
    if (!live())
        return 1;
    std::set<std::string> instances{clientName_};
    for (const std::string& port : takeNames(jack_get_ports(client_, nullptr, nullptr, 0))) {
        const std::string client = clientPart(port);
        if (instanceOf(client, options_.clientName) > 0)
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
    if (!live())
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

std::vector<PortInfo> JackHost::midiPorts() const {
    std::vector<PortInfo> ports;
    for (unsigned long direction : {JackPortIsOutput, JackPortIsInput}) {
        for (std::string& name : otherMidiPorts(direction)) {
            jack_port_t* port = jack_port_by_name(client_, name.c_str());
            const bool physical = port && (jack_port_flags(port) & JackPortIsPhysical);
            const bool orvan = IsOrvanPortName(name.substr(name.find(':') + 1));
            ports.push_back({std::move(name), direction == JackPortIsOutput, physical, orvan});
        }
    }
    return ports;
}

std::vector<std::string> JackHost::connectionsOf(Port port) const {
    return live() ? takeNames(jack_port_get_connections(ports_[port])) : std::vector<std::string>{};
}

std::vector<std::string> JackHost::connectionsOf(Port a, Port b) const {
    std::vector<std::string> names = connectionsOf(a);
    for (std::string& name : connectionsOf(b))
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(std::move(name));
    return names;
}

// Connects a port to the side(s) whose pattern matches its full name, and to the ports it was
// connected to before: a sending port to the side's input, a receiving port to its output. True
// when a connection was made.
bool JackHost::connectMatching(const std::string& name, int flags) {
    if (!live() || isOwnPort(name))
        return false;
    const bool sends = (flags & JackPortIsOutput) != 0;
    bool connected = false;
    const auto link = [&](bool wanted, Port in, Port out) {
        if (!wanted)
            return;
        const std::string from = sends ? name : portName(out);
        const std::string to = sends ? portName(in) : name;
        connected = jack_connect(client_, from.c_str(), to.c_str()) == 0 || connected;
    };
    const auto remembered = [&](Port in, Port out) {
        const Port ours = sends ? in : out;
        return std::find(remembered_.begin(), remembered_.end(), std::make_pair(ours, name)) !=
               remembered_.end();
    };
    link(controllerPattern_.matches(name) || remembered(ControllerIn, ControllerOut), ControllerIn,
         ControllerOut);
    link(dawPattern_.matches(name) || remembered(DawIn, DawOut), DawIn, DawOut);
    return connected;
}

// A new connection takes effect at the start of a later process cycle. Waiting for two of
// Orvan's own cycles makes sure that what is sent next travels over it. Bounded: a stalled
// server does not stall the window.
void JackHost::awaitNewGraph() {
    const uint64_t from = runner_.Cycles();
    for (int waited = 0; waited < 500 && !shutDown_.load(); ++waited) {
        if (runner_.Cycles() >= from + 2)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void JackHost::connectExisting() {
    bool connected = false;
    for (unsigned long direction : {JackPortIsOutput, JackPortIsInput}) {
        for (const std::string& name : otherMidiPorts(direction))
            connected = connectMatching(name, static_cast<int>(direction)) || connected;
    }
    if (connected)
        awaitNewGraph();
    graphChanged_ = true;
}

void JackHost::registrationThunk(jack_port_id_t id, int registered, void* self) {
    auto* host = static_cast<JackHost*>(self);
    if (registered)
        host->onPortRegistered(id);
    host->graphChanged_ = true;
}

void JackHost::clientThunk(const char*, int, void* self) {
    static_cast<JackHost*>(self)->graphChanged_ = true;
}

void JackHost::connectionThunk(jack_port_id_t, jack_port_id_t, int, void* self) {
    static_cast<JackHost*>(self)->graphChanged_ = true;
}

// Notification thread: the port's name is taken now, while it surely exists.
void JackHost::onPortRegistered(jack_port_id_t id) {
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
    for (const Appeared& port : appeared)
        if (connectMatching(port.name, port.flags))
            awaitNewGraph();
}

// Whatever connected it (a choice, a pattern, a replug, a connection made by hand, the server's
// return), a controller newly connected to controller_out is put into native mode when that is
// on, showing the state of the moment, once the connection carries.
void JackHost::followController() {
    std::vector<std::string> peers = connectionsOf(ControllerOut);
    const bool newcomer = std::any_of(peers.begin(), peers.end(), [this](const std::string& peer) {
        return std::find(controllerPeers_.begin(), controllerPeers_.end(), peer) ==
               controllerPeers_.end();
    });
    controllerPeers_ = std::move(peers);
    if (newcomer) {
        awaitNewGraph();
        runner_.PostResendNativeState();
    }
}

// What is connected now, and what was connected to ports that are gone (a client that quit, or
// the whole server): those connections are made again when their ports come back. Only a
// connection undone while both ports are there is forgotten.
void JackHost::rememberConnections() {
    if (!live())
        return;
    std::vector<std::pair<Port, std::string>> now;
    for (int p = 0; p < PortCount; ++p)
        for (std::string& peer : connectionsOf(static_cast<Port>(p)))
            now.emplace_back(static_cast<Port>(p), std::move(peer));
    for (const auto& before : remembered_) {
        const bool gone = !jack_port_by_name(client_, before.second.c_str());
        if (gone && std::find(now.begin(), now.end(), before) == now.end())
            now.push_back(before);
    }
    remembered_ = std::move(now);
}

void JackHost::SetControllerPorts(const std::string& pattern) {
    replaceSide(controllerPattern_, pattern, "controller", ControllerIn, ControllerOut);
}

void JackHost::SetDawPorts(const std::string& pattern) {
    replaceSide(dawPattern_, pattern, "music software", DawIn, DawOut);
}

// The side's ports leave what they were connected to and follow the new pattern.
void JackHost::replaceSide(PortPattern& pattern, const std::string& text, const char* what, Port in,
                           Port out) {
    try {
        pattern = PortPattern(text);
    } catch (const std::invalid_argument& error) {
        throw HostError(std::string(what) + " pattern " + error.what());
    }
    std::erase_if(remembered_,
                  [&](const auto& entry) { return entry.first == in || entry.first == out; });
    if (in == ControllerIn)
        controllerPeers_.clear(); // a controller chosen again is put back into native mode too
    if (!client_)
        return;
    for (Port port : {in, out})
        jack_port_disconnect(clientOf(port), ports_[port]);
    connectExisting();
}

// A pattern that matches no port, and another Orvan listening to or driving the controller.
std::vector<std::string> JackHost::warnings(const std::vector<PortInfo>& ports) const {
    std::vector<std::string> found;
    for (const PortPattern* pattern : {&controllerPattern_, &dawPattern_}) {
        const bool any = std::any_of(ports.begin(), ports.end(), [&](const PortInfo& port) {
            return pattern->matches(port.name);
        });
        if (!pattern->empty() && !any)
            found.push_back(std::string("No port matches the ") +
                            (pattern == &controllerPattern_ ? "controller" : "music software") +
                            " pattern \"" + pattern->text() + "\"");
    }
    for (const std::string& peer : connectionsOf(ControllerIn, ControllerOut)) {
        jack_port_t* port = jack_port_by_name(client_, peer.c_str());
        if (!port)
            continue;
        // Another Orvan is known by the ports it connects the controller to.
        for (const std::string& other : takeNames(jack_port_get_all_connections(client_, port))) {
            const std::string shortName = other.substr(other.find(':') + 1);
            const bool orvan = IsOrvanPortName(shortName) && shortName.starts_with("controller");
            if (orvan && !isOwnPort(other))
                found.push_back("Another Orvan (" + clientPart(other) + ") is connected to " +
                                peer);
        }
    }
    return found;
}
