#include "host/jack/PortPattern.h"

#include <re2/re2.h>

namespace {
// Enough of a text to recognise it in a message.
std::string shortened(const std::string& text) {
    constexpr size_t kShown = 60;
    return text.size() <= kShown ? text : text.substr(0, kShown) + "...";
}
} // namespace

PortPattern::PortPattern(const std::string& text) : text_(text) {
    if (text.empty())
        return;
    std::string quoted(1, '"');
    quoted += shortened(text);
    quoted += '"';
    if (text.size() > kMaxLength)
        throw std::invalid_argument(quoted + " is longer than " + std::to_string(kMaxLength) +
                                    " characters");
    RE2::Options options;
    // Port names are bytes to JACK: a name or pattern that is no UTF-8 still matches.
    options.set_encoding(RE2::Options::EncodingLatin1);
    options.set_log_errors(false);
    options.set_max_mem(kMaxMemory);
    auto regex = std::make_shared<const RE2>(text, options);
    if (!regex->ok()) {
        // RE2 names the piece of the pattern at fault after its reason.
        const std::string& error = regex->error();
        const size_t colon = error.find(": ");
        const std::string why = colon == std::string::npos ? error
                                                           : error.substr(0, colon) + ": " +
                                                                 shortened(error.substr(colon + 2));
        throw std::invalid_argument(quoted + " is not a regular expression: " + why);
    }
    regex_ = std::move(regex);
}

bool PortPattern::matches(const std::string& name) const {
    return regex_ && RE2::PartialMatch(name, *regex_);
}
