#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace re2 {
class RE2;
}

// A pattern on full port names ("client:port"), found anywhere in the name. Patterns come from
// the command line and from the settings file, so they are treated as hostile: matching takes
// time linear in the name and bounded memory, and a pattern is bounded in length.
class PortPattern {
public:
    static constexpr size_t kMaxLength = 4096;
    // The memory one compiled pattern may take.
    static constexpr int64_t kMaxMemory = 8 << 20;

    // Matches nothing.
    PortPattern() = default;
    // The empty text matches nothing. A text that is too long or no regular expression throws
    // std::invalid_argument, saying why with the start of the text.
    explicit PortPattern(const std::string& text);

    const std::string& text() const { return text_; }
    bool empty() const { return !regex_; }
    bool matches(const std::string& name) const;

private:
    std::string text_;
    std::shared_ptr<const re2::RE2> regex_;
};
