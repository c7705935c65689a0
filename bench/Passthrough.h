#pragma once

#include <jack/jack.h>

#include <string>

// The floor of the latency bench: a JACK client that copies every event of its input port "in"
// to its output port "out" in its own process callback, at the same frame.
class Passthrough {
public:
    Passthrough(const std::string& server, const std::string& name);
    ~Passthrough();
    Passthrough(const Passthrough&) = delete;
    Passthrough& operator=(const Passthrough&) = delete;

    std::string port(const char* shortName) const;

private:
    static int processThunk(jack_nframes_t nframes, void* self);

    jack_client_t* client_ = nullptr;
    jack_port_t* in_ = nullptr;
    jack_port_t* out_ = nullptr;
};
