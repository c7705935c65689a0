#include "Passthrough.h"

#include "MidiClients.h"

#include <jack/midiport.h>

#include <stdexcept>

Passthrough::Passthrough(const std::string& server, const std::string& name)
    : client_(OpenTestClient(server, name)) {
    in_ = jack_port_register(client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    out_ = jack_port_register(client_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    jack_set_process_callback(client_, &Passthrough::processThunk, this);
    if (!in_ || !out_ || jack_activate(client_) != 0) {
        jack_client_close(client_);
        throw std::runtime_error("cannot start the passthrough client " + name);
    }
}

Passthrough::~Passthrough() {
    jack_client_close(client_);
}

std::string Passthrough::port(const char* shortName) const {
    return std::string(jack_get_client_name(client_)) + ":" + shortName;
}

int Passthrough::processThunk(jack_nframes_t nframes, void* self) {
    auto* thru = static_cast<Passthrough*>(self);
    void* in = jack_port_get_buffer(thru->in_, nframes);
    void* out = jack_port_get_buffer(thru->out_, nframes);
    jack_midi_clear_buffer(out);
    const uint32_t count = jack_midi_get_event_count(in);
    for (uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, in, i) == 0)
            jack_midi_event_write(out, event.time, event.buffer, event.size);
    }
    return 0;
}
