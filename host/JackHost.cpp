#include "host/JackHost.h"

#include "host/MidiBytes.h"

#include <QSocketNotifier>

#include <jack/midiport.h>

#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {
constexpr const char* kPortNames[JackHost::PortCount] = {"controller_in", "controller_out",
                                                         "daw_in", "daw_out"};

// libjack explains a missing server at length on its own; Orvan says it once, in its own words.
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

std::optional<std::regex> compile(const std::string& pattern, const char* what) {
    if (pattern.empty())
        return std::nullopt;
    try {
        return std::regex(pattern, std::regex::ECMAScript);
    } catch (const std::regex_error& error) {
        throw HostError(std::string(what) + " pattern \"" + pattern +
                        "\" is not a regular expression: " + error.what());
    }
}
} // namespace

JackHost::JackHost(const HostOptions& options)
    : requestedName_(options.clientName),
      controllerPattern_(compile(options.controllerPorts, "controller")),
      dawPattern_(compile(options.dawPorts, "music software")) {
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0)
        throw HostError("cannot create the wake-up descriptor");

    jack_set_error_function(jackError);
    quietJack = true;
    jack_status_t status{};
    const auto openOptions = static_cast<jack_options_t>(
        JackNoStartServer | (options.server.empty() ? 0 : JackServerName));
    client_ = jack_client_open(requestedName_.c_str(), openOptions, &status,
                               options.server.empty() ? nullptr : options.server.c_str());
    quietJack = false;
    if (!client_) {
        ::close(wakeFd_);
        const std::string server = "the JACK server \"" + serverLabel(options.server) + "\"";
        if (status & JackServerFailed)
            throw HostError("cannot connect to " + server +
                            " (is it running? scripts/run.sh starts one)");
        char code[16];
        std::snprintf(code, sizeof code, "0x%x", static_cast<unsigned>(status));
        throw HostError(server + " did not accept the client \"" + requestedName_ +
                        "\" (JACK status " + code + ")");
    }
    try {
        clientName_ = jack_get_client_name(client_);
        for (int port = 0; port < PortCount; ++port) {
            const bool input = port == ControllerIn || port == DawIn;
            ports_[port] = jack_port_register(client_, kPortNames[port], JACK_DEFAULT_MIDI_TYPE,
                                              input ? JackPortIsInput : JackPortIsOutput, 0);
            if (!ports_[port])
                throw HostError(std::string("cannot register the JACK port ") + kPortNames[port]);
        }
        sampleRate_ = jack_get_sample_rate(client_);
        spacing_ = OutputSpacing(sampleRate_);
        jack_set_process_callback(client_, &JackHost::processThunk, this);
        jack_on_info_shutdown(client_, &JackHost::shutdownThunk, this);
        jack_set_port_registration_callback(client_, &JackHost::registrationThunk, this);
        startFrame_ = jack_frame_time(client_);
        if (jack_activate(client_) != 0)
            throw HostError("cannot activate the JACK client " + clientName_);

        notifier_ = std::make_unique<QSocketNotifier>(wakeFd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                         [this] { onWake(); });
        connectExisting();
    } catch (...) {
        closeClient();
        ::close(wakeFd_);
        throw;
    }
}

JackHost::~JackHost() {
    *alive_ = false;
    // What was sent just before the end still leaves, if the server is there to take it.
    for (int waited = 0; waited < 250 && !shutDown_.load() && outRing_.readable() > 0; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    closeClient();
    notifier_.reset();
    ::close(wakeFd_);
}

void JackHost::closeClient() {
    if (client_)
        jack_client_close(client_); // also fine when the server has gone away
    client_ = nullptr;
}

std::string JackHost::portName(int port) const {
    return clientName_ + ":" + kPortNames[port];
}

std::string JackHost::HostVersion() {
    return std::string("JACK ") + jack_get_version_string();
}

void JackHost::HostCloseOnClientExit(int32_t value) {
    // Recorded only: Orvan never stops a JACK server.
    closeOnClientExit_ = value != 0;
}

void JackHost::HostInputCapture(int32_t value) {
    capture_.store(value != 0, std::memory_order_release);
    wake();
}

void JackHost::HostInputEvents(int32_t value) {
    inputEvents_ = value != 0;
    wake();
}

void JackHost::setControllerReturned(std::function<void()> callback) {
    controllerReturned_ = std::move(callback);
}

void JackHost::HostSendMessage(int32_t /*port*/, int32_t status, int32_t data1, int32_t data2) {
    uint8_t bytes[3];
    const size_t size = ShortMessageBytes(status, data1, data2, bytes);
    if (size == 0) {
        std::fprintf(stderr, "orvan: not sent, not a valid MIDI message: %d %d %d\n", status, data1,
                     data2);
        return;
    }
    enqueue(DawOut, bytes, size);
}

void JackHost::HostSendSysEx(const std::string& text) {
    const std::vector<uint8_t> bytes = SysExBytes(text, MidiAssembler::kMaxSysEx);
    enqueue(ControllerOut, bytes.data(), bytes.size());
}

void JackHost::enqueue(Port port, const uint8_t* bytes, size_t size) {
    if (shutDown_.load())
        return; // no server to take it
    const OutHeader header{static_cast<uint8_t>(port), static_cast<uint16_t>(size), jack_get_time(),
                           answering_.chain, answering_.frame};
    if (!outRing_.write(&header, sizeof header, bytes, size)) {
        const uint64_t dropped = ++droppedOutput_;
        std::fprintf(stderr, "orvan: output buffer full, message dropped (%llu so far)\n",
                     static_cast<unsigned long long>(dropped));
    }
}

void JackHost::wake() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
}

void JackHost::shutdownThunk(jack_status_t, const char*, void* self) {
    auto* host = static_cast<JackHost*>(self);
    host->shutDown_.store(true);
    host->wake();
}

void JackHost::onWake() {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = ::read(wakeFd_, &count, sizeof count);
    const std::shared_ptr<bool> alive = alive_;
    try {
        reportDrops();
        handleAppearedPorts(alive);
        if (*alive)
            deliverInput(alive);
        if (*alive && shutDown_.load() && !stopRaised_ && capture_.load() && inputEvents_ &&
            events_.StopInputRequest) {
            stopRaised_ = true;
            events_.StopInputRequest();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvan: %s\n", error.what());
    }
}

void JackHost::reportDrops() {
    const uint64_t dropped = droppedInput_.load();
    if (dropped == reportedInputDrops_)
        return;
    std::fprintf(stderr, "orvan: %llu incoming message(s) dropped (buffer full or too long)\n",
                 static_cast<unsigned long long>(dropped - reportedInputDrops_));
    reportedInputDrops_ = dropped;
}

void JackHost::deliverInput(const std::shared_ptr<bool>& alive) {
    InHeader header{};
    while (inRing_.peek(&header, sizeof header)) {
        std::vector<uint8_t> bytes(header.size);
        inRing_.peek(bytes.data(), bytes.size(), sizeof header);
        inRing_.skip(sizeof header + bytes.size());
        if (!capture_.load() || !inputEvents_)
            continue;
        // What is sent while this record is handled answers it, unless it is handled inside the
        // waits of an earlier one: then it is part of that one's chain, placed as written after
        // it, so that the earlier one's pulse keeps its length.
        struct Restore {
            const std::shared_ptr<bool>& alive; // the handler may release the host
            Answering& answering;
            Answering saved;
            ~Restore() {
                if (*alive)
                    answering = saved;
            }
        } restore{alive, answering_, answering_};
        if (answering_.chain == 0) {
            if (++lastChain_ == 0)
                lastChain_ = 1; // 0 stands for no chain
            answering_ = {lastChain_, header.frame};
        }
        // Handlers may wait and so run this again, nested; each record is taken before it runs.
        if (header.sysEx && events_.SysExInput) {
            events_.SysExInput(SysExText(bytes.data(), bytes.size()));
        } else if (!header.sysEx && events_.MidiInput) {
            const auto ms = static_cast<int32_t>(static_cast<uint64_t>(header.frame - startFrame_) *
                                                 1000 / sampleRate_);
            events_.MidiInput(ms, header.port, bytes[0], bytes.size() > 1 ? bytes[1] : 0,
                              bytes.size() > 2 ? bytes[2] : 0);
        }
        if (!*alive)
            return; // a handler ended the program and released the host
    }
}
