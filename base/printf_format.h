// printf formats checked when the launcher is compiled.
//
// printf reads one argument per conversion, whatever was passed: a format with one
// conversion too many, or one of the wrong type, reads memory that is not an
// argument (a user name "%s%n" crashes the run). So every format is a literal whose
// conversions the compiler matches against the types of the arguments, in the manner
// of std::format_string, and outside text (names, paths, registry data, command lines)
// can only ever be an argument. A mismatch does not compile.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

namespace printf_format {

enum class ArgClass : unsigned char { Integer, Floating, String, Pointer, Other };

// What an argument is to printf once the default promotions have been applied.
struct ArgKind {
  ArgClass kind;
  std::size_t size;
};

template <class T>
constexpr ArgKind KindOf() {
  if constexpr (std::is_same_v<T, const char*> || std::is_same_v<T, char*>) {
    return {ArgClass::String, sizeof(T)};
  } else if constexpr (std::is_pointer_v<T>) {
    return {ArgClass::Pointer, sizeof(T)};
  } else if constexpr (std::is_integral_v<T>) {
    return {ArgClass::Integer, sizeof(T) < sizeof(int) ? sizeof(int) : sizeof(T)};
  } else if constexpr (std::is_floating_point_v<T>) {
    return {ArgClass::Floating, sizeof(T) < sizeof(double) ? sizeof(double) : sizeof(T)};
  } else {
    return {ArgClass::Other, 0};
  }
}

namespace detail {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The size of the integer a length modifier names ("" for int).
constexpr std::size_t IntegerSize(std::string_view length) {
  if (length.empty() || length == "h" || length == "hh") return sizeof(int);
  if (length == "l") return sizeof(long);
  if (length == "ll") return sizeof(long long);
  if (length == "z") return sizeof(std::size_t);
  if (length == "j") return sizeof(std::intmax_t);
  if (length == "t") return sizeof(std::ptrdiff_t);
  return 0;
}

// What a conversion reads; Other for a conversion the launcher never writes (among
// them %n, which writes through its argument).
constexpr ArgKind ExpectedKind(std::string_view length, char conversion) {
  switch (conversion) {
    case 'd': case 'i': case 'u': case 'o': case 'x': case 'X': {
      const std::size_t size = IntegerSize(length);
      return size == 0 ? ArgKind{ArgClass::Other, 0} : ArgKind{ArgClass::Integer, size};
    }
    case 'c':
      return length.empty() ? ArgKind{ArgClass::Integer, sizeof(int)} : ArgKind{ArgClass::Other, 0};
    case 's':
      return length.empty() ? ArgKind{ArgClass::String, sizeof(const char*)} : ArgKind{ArgClass::Other, 0};
    case 'p':
      return length.empty() ? ArgKind{ArgClass::Pointer, sizeof(void*)} : ArgKind{ArgClass::Other, 0};
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A':
      if (length.empty()) return {ArgClass::Floating, sizeof(double)};
      if (length == "L") return {ArgClass::Floating, sizeof(long double)};
      return {ArgClass::Other, 0};
    default:
      return {ArgClass::Other, 0};
  }
}

constexpr bool Fits(ArgKind expected, ArgKind given) {
  if (expected.kind == ArgClass::Other || expected.size != given.size) return false;
  // A text may be printed as a pointer; anything else must be what is expected.
  if (expected.kind == ArgClass::Pointer) {
    return given.kind == ArgClass::Pointer || given.kind == ArgClass::String;
  }
  return expected.kind == given.kind;
}

}  // namespace detail

// True when `format` reads exactly the arguments `args`, each as what it is.
constexpr bool FormatFits(std::string_view format, std::span<const ArgKind> args) {
  constexpr ArgKind kStar{ArgClass::Integer, sizeof(int)};
  std::size_t next = 0;
  auto take = [&](ArgKind expected) {
    return next < args.size() && detail::Fits(expected, args[next++]);
  };
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (++i == format.size()) return false;
    if (format[i] == '%') continue;
    while (i < format.size() && std::string_view("-+ #0").find(format[i]) != std::string_view::npos) ++i;
    if (i < format.size() && format[i] == '*') {
      if (!take(kStar)) return false;
      ++i;
    }
    while (i < format.size() && detail::IsDigit(format[i])) ++i;
    if (i < format.size() && format[i] == '.') {
      ++i;
      if (i < format.size() && format[i] == '*') {
        if (!take(kStar)) return false;
        ++i;
      }
      while (i < format.size() && detail::IsDigit(format[i])) ++i;
    }
    const std::size_t length_start = i;
    while (i < format.size() && std::string_view("hlLzjt").find(format[i]) != std::string_view::npos) ++i;
    if (i == format.size()) return false;
    const std::string_view length = format.substr(length_start, i - length_start);
    if (!take(detail::ExpectedKind(length, format[i]))) return false;
  }
  return next == args.size();
}

template <class... Args>
constexpr bool FormatFits(std::string_view format) {
  constexpr std::array<ArgKind, sizeof...(Args)> kinds{KindOf<Args>()...};
  return FormatFits(format, kinds);
}

// Called only when a format does not fit its arguments; not being constexpr, it
// stops the compilation and names the fault.
void format_does_not_fit_its_arguments();

}  // namespace printf_format

// A format literal that reads exactly the arguments Args.
template <class... Args>
class PrintfFormat {
 public:
  consteval PrintfFormat(const char* text) : text_(text) {
    if (!printf_format::FormatFits<Args...>(text)) printf_format::format_does_not_fit_its_arguments();
  }
  constexpr const char* c_str() const { return text_; }

 private:
  const char* text_;
};

// The parameter type of a front end taking a format and its arguments: the arguments
// are deduced from the call, the format is then checked against them.
template <class... Args>
using FormatFor = PrintfFormat<std::type_identity_t<Args>...>;

// A fixed text that still passes through the formatter: no conversion but "%%".
using ConstantText = PrintfFormat<>;
