#include "host/JackHost.h"

#include <jack/midiport.h>

// Everything here runs in the JACK process callback: only ring buffers, the assemblers and the
// output spacing, no allocation, lock, log or blocking call.

int JackHost::processThunk(jack_nframes_t nframes, void* self) {
    return static_cast<JackHost*>(self)->process(nframes);
}

int JackHost::process(jack_nframes_t nframes) {
    const jack_nframes_t cycleStart = jack_last_frame_time(client_);
    readInput(nframes, cycleStart);
    writeOutput(nframes, cycleStart);
    cycles_.fetch_add(1, std::memory_order_release);
    return 0;
}

void JackHost::readInput(jack_nframes_t nframes, jack_nframes_t cycleStart) {
    if (!capture_.load(std::memory_order_acquire)) {
        wasCapturing_ = false;
        return;
    }
    if (!wasCapturing_) {
        for (MidiAssembler& assembler : assemblers_)
            assembler.reset(); // nothing half-read from before reading stopped
        wasCapturing_ = true;
    }
    bool happened = false;
    const Port inputs[2] = {ControllerIn, DawIn};
    for (uint8_t index = 0; index < 2; ++index) {
        void* buffer = jack_port_get_buffer(ports_[inputs[index]], nframes);
        const uint32_t count = jack_midi_get_event_count(buffer);
        for (uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, i) != 0)
                continue;
            for (size_t b = 0; b < event.size; ++b) {
                MidiAssembler& assembler = assemblers_[index];
                const MidiAssembler::Result result = assembler.feed(event.buffer[b]);
                if (result == MidiAssembler::Result::None)
                    continue;
                happened = true;
                if (result == MidiAssembler::Result::Oversize) {
                    droppedInput_.fetch_add(1, std::memory_order_relaxed);
                    continue;
                }
                const InHeader header{index, result == MidiAssembler::Result::SysEx,
                                      static_cast<uint16_t>(assembler.size()),
                                      cycleStart + event.time};
                if (!inRing_.write(&header, sizeof header, assembler.message(), assembler.size()))
                    droppedInput_.fetch_add(1, std::memory_order_relaxed);
            }
        }
    }
    if (happened)
        wake();
}

void JackHost::writeOutput(jack_nframes_t nframes, jack_nframes_t cycleStart) {
    void* buffers[2] = {jack_port_get_buffer(ports_[ControllerOut], nframes),
                        jack_port_get_buffer(ports_[DawOut], nframes)};
    jack_midi_clear_buffer(buffers[0]);
    jack_midi_clear_buffer(buffers[1]);
    OutHeader header{};
    while (outRing_.peek(&header, sizeof header)) {
        // An answer is due one period after its input: the earliest frame at which every answer
        // given within a period can keep its input's timing.
        const OutputSpacing::Message message{header.usecs, header.chain,
                                             header.inputFrame + nframes};
        const int64_t offset = spacing_.offsetFor(message, cycleStart, nframes);
        if (offset < 0)
            break; // due in a later cycle; everything behind it waits too, keeping the order
        void* buffer = buffers[header.port == ControllerOut ? 0 : 1];
        if (jack_midi_max_event_size(buffer) < header.size) {
            if (jack_midi_get_event_count(buffer) > 0)
                break; // this cycle's buffer is full; the next one takes it
            outRing_.skip(sizeof header + header.size); // bigger than any buffer: never fits
            droppedOutput_.fetch_add(1, std::memory_order_relaxed);
            continue;
        }
        jack_midi_data_t* slot =
            jack_midi_event_reserve(buffer, static_cast<jack_nframes_t>(offset), header.size);
        if (!slot)
            break;
        outRing_.peek(slot, header.size, sizeof header);
        outRing_.skip(sizeof header + header.size);
        spacing_.placed(message, cycleStart + static_cast<jack_nframes_t>(offset));
    }
}
