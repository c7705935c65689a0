#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

// Text of at most N characters kept in place: the engine's texts live here, so that building and
// comparing them never allocates. What does not fit is cut off at the end.
template <std::size_t N> class FixedText {
public:
    constexpr FixedText() = default;
    FixedText(std::string_view text) { assign(text); }
    FixedText(const char* text) { assign(text); }
    FixedText(const std::string& text) { assign(text); }

    FixedText& operator=(std::string_view text) { return assign(text); }
    FixedText& operator=(const char* text) { return assign(text); }
    FixedText& operator=(const std::string& text) { return assign(text); }

    FixedText& assign(std::string_view text) {
        size_ = std::min(text.size(), N);
        std::memmove(chars_, text.data(), size_);
        chars_[size_] = '\0';
        return *this;
    }
    FixedText& operator+=(std::string_view text) {
        const std::size_t n = std::min(text.size(), N - size_);
        std::memcpy(chars_ + size_, text.data(), n);
        size_ += n;
        chars_[size_] = '\0';
        return *this;
    }
    FixedText& operator+=(char c) { return *this += std::string_view(&c, 1); }

    // The first n characters are kept; a longer n changes nothing.
    void truncate(std::size_t n) {
        size_ = std::min(n, size_);
        chars_[size_] = '\0';
    }
    void clear() { truncate(0); }

    std::string_view view() const { return {chars_, size_}; }
    operator std::string_view() const { return view(); }
    std::string str() const { return std::string(view()); }
    const char* c_str() const { return chars_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    char operator[](std::size_t i) const { return chars_[i]; }
    char& operator[](std::size_t i) { return chars_[i]; }
    static constexpr std::size_t capacity() { return N; }

    friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }
    template <std::size_t M> bool operator==(const FixedText<M>& other) const {
        return view() == other.view();
    }
    friend std::ostream& operator<<(std::ostream& out, const FixedText& text) {
        return out << text.view();
    }

private:
    char chars_[N + 1] = {};
    std::size_t size_ = 0;
};

// The decimal digits of a whole number, appended.
template <std::size_t N> void AppendDecimal(FixedText<N>& text, unsigned value) {
    unsigned place = 1;
    while (place <= value / 10)
        place *= 10;
    for (; place > 0; place /= 10)
        text += static_cast<char>('0' + value / place % 10);
}
