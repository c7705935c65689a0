#include "host/jack/JackHost.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <string_view>
#include <thread>

namespace {
constexpr std::array<std::string_view, JackHost::PortCount> kPortNames = {
    "controller_in", "controller_out", "daw_in", "daw_out"};
constexpr const char* kFeedbackSuffix = "-feedback";

// No server answered, or it went away while a client was being opened.
class ServerLost : public HostError {
public:
    using HostError::HostError;
};

// libjack explains a missing or lost server at length on its own, and again at every look for
// it; Orvan says it once, in its own words.
std::atomic<bool> quietJack{false};

void jackError(const char* message) {
    if (!quietJack.load())
        std::fprintf(stderr, "orvan: JACK: %s\n", message);
}

std::string serverLabel(const std::string& server) {
    if (!server.empty())
        return server;
    const char* fromEnvironment = std::getenv("JACK_DEFAULT_SERVER");
    return fromEnvironment && *fromEnvironment ? fromEnvironment : "default";
}

// Whether a client of this name already has ports on the server. PipeWire's JACK layer lets two
// clients share a name and then cannot tell their ports apart by name.
bool nameInUse(jack_client_t* client, const std::string& name) {
    const char** ports = jack_get_ports(client, nullptr, nullptr, 0);
    bool used = false;
    for (size_t i = 0; ports && ports[i] && !used; ++i)
        used = std::string_view(ports[i]).starts_with(name + ":");
    if (ports)
        jack_free(ports);
    return used;
}

// A client under the name, or under "name-01", "name-02" ... when it is taken, as jackd names
// clients itself; the name is checked here so that it is also unique on PipeWire.
jack_client_t* openClient(const std::string& base, const HostOptions& options) {
    const auto openOptions = static_cast<jack_options_t>(
        JackNoStartServer | JackUseExactName | (options.server.empty() ? 0 : JackServerName));
    jack_status_t status{};
    for (int suffix = 0; suffix < 100; ++suffix) {
        char name[128];
        std::snprintf(name, sizeof name, suffix == 0 ? "%s" : "%s-%02d", base.c_str(), suffix);
        quietJack = true;
        jack_client_t* client = jack_client_open(
            name, openOptions, &status, options.server.empty() ? nullptr : options.server.c_str());
        // jackd refuses a name in use as a server error: only an absent server ends the search.
        if (!client && !(status & JackServerFailed))
            continue;
        if (!client)
            break;
        quietJack = false;
        if (!nameInUse(client, name))
            return client;
        jack_client_close(client);
    }
    const std::string server = "the JACK server \"" + serverLabel(options.server) + "\"";
    if (status & JackServerFailed)
        throw ServerLost("cannot connect to " + server +
                         " (is it running? scripts/run.sh starts one)");
    char code[16];
    std::snprintf(code, sizeof code, "0x%x", static_cast<unsigned>(status));
    throw HostError(server + " did not accept the client \"" + base + "\" (JACK status " + code +
                    ")");
}
} // namespace

JackHost::JackHost(const HostOptions& options, EngineRunner& runner, bool waitForServer)
    : options_(options), runner_(runner) {
    jack_set_error_function(jackError);
    replaceSide(controllerPattern_, options.controllerPorts, "controller", ControllerIn,
                ControllerOut);
    replaceSide(dawPattern_, options.dawPorts, "music software", DawIn, DawOut);
    try {
        attach();
    } catch (const HostError&) {
        if (!waitForServer)
            throw;
        nextTry_ = std::chrono::steady_clock::now() + kRetry;
    }
}

JackHost::~JackHost() {
    EndEngine();
    closeClientsWithin(kCloseBound);
}

// The ending's note-offs go out in the next cycle; two more make sure they were delivered.
void JackHost::EndEngine() {
    if (!client_ || shutDown_.load() || ended_ || !runner_.PostEnd())
        return;
    ended_ = true;
    const uint64_t from = runner_.Cycles();
    for (int waited = 0; waited < 500 && !shutDown_.load(); ++waited) {
        if (runner_.Cycles() >= from + 3)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// A server that stopped answering (seen with many clients closing at once) must not keep Orvan
// from ending: the clients are closed on a thread of their own, and given up after the bound.
void JackHost::closeClientsWithin(std::chrono::milliseconds bound) {
    auto closed = std::make_shared<std::promise<void>>();
    std::future<void> done = closed->get_future();
    std::thread closer([this, closed] {
        closeClients();
        closed->set_value();
    });
    if (done.wait_for(bound) == std::future_status::ready) {
        closer.join();
        return;
    }
    closer.detach();
    closeHung_();
    std::abort(); // the action ends the program: the closer still uses this host
}

// Registers the clients and ports and starts them; the engine goes on at the frame where it
// stopped, so that what was waiting when the server went away ends now.
void JackHost::attach() {
    client_ = openClient(options_.clientName, options_);
    try {
        clientName_ = jack_get_client_name(client_);
        feedbackClient_ = openClient(clientName_ + kFeedbackSuffix, options_);
        feedbackName_ = jack_get_client_name(feedbackClient_);
        for (int p = 0; p < PortCount; ++p) {
            const bool input = p == ControllerIn || p == DawIn;
            ports_[p] = jack_port_register(clientOf(static_cast<Port>(p)), kPortNames[p].data(),
                                           JACK_DEFAULT_MIDI_TYPE,
                                           input ? JackPortIsInput : JackPortIsOutput, 0);
            if (!ports_[p])
                throw HostError("cannot register the JACK port " + std::string(kPortNames[p]));
        }
        sampleRate_ = jack_get_sample_rate(client_);
        period_ = jack_get_buffer_size(client_);
        // No process thread runs yet: what the process side owns may be set here.
        runner_.SetSampleRate(sampleRate_);
        feedback_.skip(feedback_.readable());
        started_ = false;
        shutDown_ = false;
        jack_set_process_callback(client_, &JackHost::processMainThunk, this);
        jack_set_process_callback(feedbackClient_, &JackHost::processFeedbackThunk, this);
        // jackd tells of its end through the one, PipeWire's JACK layer through the other.
        for (jack_client_t* client : {client_, feedbackClient_}) {
            jack_on_info_shutdown(client, &JackHost::shutdownThunk, this);
            jack_on_shutdown(client, &JackHost::lostThunk, this);
        }
        jack_set_port_registration_callback(client_, &JackHost::registrationThunk, this);
        jack_set_client_registration_callback(client_, &JackHost::clientThunk, this);
        jack_set_port_connect_callback(client_, &JackHost::connectionThunk, this);
        jack_set_xrun_callback(client_, &JackHost::xrunThunk, this);
        // What the engine owes (a pulse's note-off, the controller's state) must not go out
        // before the connections it is owed to are there again.
        runner_.HoldUntilLinked();
        controllerPeers_.clear();
        if (jack_activate(client_) != 0 || jack_activate(feedbackClient_) != 0)
            throw HostError("cannot activate the JACK client " + clientName_);
        state_ = LinkStatus::State::Attached;
        connectExisting();
        runner_.Linked();
    } catch (const ServerLost&) {
        // jackd's libjack frees the clients of a server it has lost when the next client is
        // opened, so the one opened before may be gone already: closing it would free it twice.
        client_ = nullptr;
        throw;
    } catch (...) {
        closeClients();
        throw;
    }
}

void JackHost::closeClients() {
    // Closing is also fine when the server has gone away.
    for (jack_client_t** client : {&feedbackClient_, &client_}) {
        if (*client)
            jack_client_close(*client);
        *client = nullptr;
    }
    ports_ = {};
}

jack_client_t* JackHost::clientOf(Port p) const {
    return p == DawIn ? feedbackClient_ : client_;
}

std::string JackHost::portName(Port p) const {
    return (p == DawIn ? feedbackName_ : clientName_) + ":" + std::string(kPortNames[p]);
}

bool IsOrvanPortName(std::string_view shortName) {
    return std::find(kPortNames.begin(), kPortNames.end(), shortName) != kPortNames.end();
}

std::string JackHost::HostVersion() {
    return std::string("JACK ") + jack_get_version_string();
}

void JackHost::HostCloseOnClientExit(int32_t value) {
    // Recorded only: Orvan never stops a JACK server.
    closeOnClientExit_ = value != 0;
}

void JackHost::HostInputCapture(int32_t value) {
    inputCapture_ = value != 0;
    updateInput();
}

void JackHost::HostInputEvents(int32_t value) {
    inputEvents_ = value != 0;
    updateInput();
}

void JackHost::updateInput() {
    runner_.SetInputOn(inputCapture_ && inputEvents_);
}

DropCounts JackHost::Drops() {
    DropCounts drops = runner_.Drops();
    drops.inputQueue += feedbackDropped_.load(std::memory_order_relaxed);
    return drops;
}

void JackHost::shutdownThunk(jack_status_t, const char*, void* self) {
    lostThunk(self);
}

void JackHost::lostThunk(void* self) {
    quietJack = true;
    static_cast<JackHost*>(self)->shutDown_.store(true);
}

void JackHost::Poll() {
    reportDrops();
    followServer();
    if (!live())
        return;
    handleAppearedPorts();
    // The server may tell of a change before its clients can see it, which they do from a
    // later cycle on: a change is looked at again once two more cycles have run.
    if (graphChanged_.exchange(false)) {
        lookAgainAfter_ = runner_.Cycles() + 2;
        lookAtGraph();
    } else if (lookAgainAfter_ && runner_.Cycles() >= lookAgainAfter_) {
        lookAgainAfter_ = 0;
        lookAtGraph();
    }
}

void JackHost::lookAtGraph() {
    rememberConnections();
    followController();
    if (events_.GraphChanged)
        events_.GraphChanged();
}

// Server gone: leave it, say so, and look for it again and again; back: attach and restore.
void JackHost::followServer() {
    const auto now = std::chrono::steady_clock::now();
    if (client_ && shutDown_.load()) {
        closeClients();
        state_ = LinkStatus::State::Lost;
        nextTry_ = now + kRetry;
        if (events_.GraphChanged)
            events_.GraphChanged();
        if (!stopRaised_ && inputCapture_ && inputEvents_ && events_.StopInputRequest) {
            stopRaised_ = true;
            events_.StopInputRequest();
        }
        return;
    }
    if (client_ || now < nextTry_)
        return;
    nextTry_ = now + kRetry;
    try {
        attach();
    } catch (const HostError&) {
        return; // not yet
    }
    stopRaised_ = false;
    if (events_.Reattached)
        events_.Reattached();
    if (events_.GraphChanged)
        events_.GraphChanged();
}

LinkStatus JackHost::Link() {
    LinkStatus link;
    link.state = client_ && shutDown_.load() ? LinkStatus::State::Lost : state_;
    link.server = serverLabel(options_.server);
    link.client = clientName_.empty() ? options_.clientName : clientName_;
    link.controllerPattern = controllerPattern_.text();
    link.dawPattern = dawPattern_.text();
    if (live()) {
        link.sampleRate = sampleRate_;
        link.period = period_;
        link.controllerFrom = connectionsOf(ControllerIn);
        link.controllerTo = connectionsOf(ControllerOut);
        link.dawFrom = connectionsOf(DawIn);
        link.dawTo = connectionsOf(DawOut);
        link.ports = midiPorts();
        link.warnings = warnings(link.ports);
    }
    return link;
}

ServerLoad JackHost::Load() {
    ServerLoad load;
    load.xruns = xruns_.load(std::memory_order_relaxed);
    if (live())
        load.dspLoad = jack_cpu_load(client_);
    return load;
}

// Not on the process thread: the server tells of late cycles on its notification thread.
int JackHost::xrunThunk(void* self) {
    static_cast<JackHost*>(self)->xruns_.fetch_add(1, std::memory_order_relaxed);
    return 0;
}

// Losses only: a knob's in-between values merged while it waited are by design, not lost.
void JackHost::reportDrops() {
    DropCounts drops = Drops();
    drops.inputMerged = reportedDrops_.inputMerged;
    if (drops == reportedDrops_)
        return;
    const auto more = [](uint64_t now, uint64_t before) {
        return static_cast<unsigned long long>(now - before);
    };
    std::fprintf(stderr,
                 "orvan: messages dropped since the last report: %llu too long, %llu no room to "
                 "wait, %llu queue full, %llu output full, %llu not valid MIDI\n",
                 more(drops.inputOversize, reportedDrops_.inputOversize),
                 more(drops.inputHeld, reportedDrops_.inputHeld),
                 more(drops.inputQueue, reportedDrops_.inputQueue),
                 more(drops.outputFull, reportedDrops_.outputFull),
                 more(drops.outputInvalid, reportedDrops_.outputInvalid));
    reportedDrops_ = drops;
}
