// Fixed-size text buffers for paths and messages.
//
// The launcher keeps paths in 260-character buffers and messages in 2,048-character
// buffers. Every write is bounded: the checked operations refuse a text that does not
// fit and leave the buffer unchanged; the *_cut operations keep what fits, for the
// places where cutting is the chosen behaviour.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string_view>

#if defined(__GNUC__)
#define PORTAVEL_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define PORTAVEL_PRINTF(fmt, args)
#endif

template <std::size_t N>
class FixedString {
  static_assert(N >= 1, "room for the terminator");

 public:
  // Characters the buffer holds besides its terminator.
  static constexpr std::size_t kCapacity = N - 1;

  FixedString() = default;

  const char* c_str() const { return text_; }
  std::string_view view() const { return {text_, length_}; }
  std::size_t size() const { return length_; }
  bool empty() const { return length_ == 0; }
  char back() const { return length_ ? text_[length_ - 1] : '\0'; }

  void clear() {
    length_ = 0;
    text_[0] = '\0';
  }

  [[nodiscard]] bool assign(std::string_view s) {
    if (s.size() > kCapacity) return false;
    set(s);
    return true;
  }

  [[nodiscard]] bool append(std::string_view s) {
    if (s.size() > kCapacity - length_) return false;
    if (!s.empty()) std::memcpy(text_ + length_, s.data(), s.size());
    length_ += s.size();
    text_[length_] = '\0';
    return true;
  }

  void assign_cut(std::string_view s) { set(s.substr(0, kCapacity)); }

  void append_cut(std::string_view s) {
    (void)append(s.substr(0, kCapacity - length_));
  }

  // Drops characters from the end; a length beyond the text changes nothing.
  void truncate(std::size_t length) {
    if (length < length_) {
      length_ = length;
      text_[length_] = '\0';
    }
  }

  // printf into the buffer; false, buffer unchanged, when the result does not fit.
  [[nodiscard]] bool format(const char* fmt, ...) PORTAVEL_PRINTF(2, 3) {
    va_list args;
    va_start(args, fmt);
    bool fits = vformat(fmt, args);
    va_end(args);
    return fits;
  }

  [[nodiscard]] bool vformat(const char* fmt, va_list args) {
    char scratch[N];
    int n = std::vsnprintf(scratch, N, fmt, args);
    if (n < 0 || static_cast<std::size_t>(n) > kCapacity) return false;
    set({scratch, static_cast<std::size_t>(n)});
    return true;
  }

  // printf into the buffer, keeping what fits.
  void format_cut(const char* fmt, ...) PORTAVEL_PRINTF(2, 3) {
    va_list args;
    va_start(args, fmt);
    int n = std::vsnprintf(text_, N, fmt, args);
    va_end(args);
    length_ = n < 0 ? 0 : (static_cast<std::size_t>(n) > kCapacity ? kCapacity : n);
    text_[length_] = '\0';
  }

 private:
  void set(std::string_view s) {
    if (!s.empty()) std::memmove(text_, s.data(), s.size());
    length_ = s.size();
    text_[length_] = '\0';
  }

  char text_[N] = {};
  std::size_t length_ = 0;
};

// Buffer sizes named by purpose.
using PathBuffer = FixedString<260>;
using MessageBuffer = FixedString<2048>;
