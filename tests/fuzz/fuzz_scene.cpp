// Any text as a scene file. Whatever it accepts must read back the same when written out, and
// writing that again must give the very same text.
#include "settings/Scene.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
[[noreturn]] void fail(const char* what, const std::string& written) {
    std::fprintf(stderr, "%s; written text:\n%s\n", what, written.c_str());
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ControllerSettings config;
    config.strFlashMidiCC = "MIDI";
    const auto parsed = ParseScene(text, "fuzz.toml", config);
    const Scene* scene = std::get_if<Scene>(&parsed);
    if (!scene)
        return 0;
    const std::string written = SceneText(*scene);
    const auto again = ParseScene(written, "written.toml", config);
    const Scene* back = std::get_if<Scene>(&again);
    if (!back)
        fail("the written text does not parse", written);
    if (back->name != scene->name || !(back->mapping == scene->mapping) ||
        back->pads.padMode != scene->pads.padMode || back->pads.padState != scene->pads.padState)
        fail("the written text reads back different", written);
    if (SceneText(*back) != written)
        fail("writing again gives a different text", written);
    return 0;
}
