#include "host/frmMain.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("Usage: orvan [--help] [--version]\n");
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("orvan %s\n", ORVAN_VERSION);
            return 0;
        }
    }
    QApplication app(argc, argv);
    frmMain window(
        []() -> std::unique_ptr<MidiHost> { throw HostError("No MIDI host available"); });
    try {
        window.Form_Load();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvan: %s\n", error.what());
        return 1;
    }
    window.show();
    const int status = app.exec();
    return window.Ending() ? 1 : status;
}
