// The printf-like formatter of the game's texts (%d %u %lu %x %s %c %% with an
// optional precision such as %.10lu). Arguments are typed: only 32-bit
// integers, characters and strings are accepted, so a wrong argument does not
// compile instead of printing garbage.
#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

constexpr size_t TEXT_BUFFER_SIZE = 1024;
extern char textBuffer[TEXT_BUFFER_SIZE + 1];

struct FormatArg {
  enum Kind : uint8_t { Signed, Unsigned, Char, String } kind;
  union {
    int32_t s;
    uint32_t u;
    char c;
    const char *str;
  };
  FormatArg(int32_t v) : kind(Signed), s(v) {}
  FormatArg(uint32_t v) : kind(Unsigned), u(v) {}
  FormatArg(char v) : kind(Char), c(v) {}
  FormatArg(const char *v) : kind(String), str(v) {}
  FormatArg(char *v) : kind(String), str(v) {}
  // Everything else (64-bit integers, floats, pointers) is refused at compile time.
  template <typename T> FormatArg(T) = delete;
};

// Formats into out (at most capacity - 1 characters, always terminated);
// returns the length written.
size_t formatInto(char *out, size_t capacity, const char *format,
                  std::initializer_list<FormatArg> args);

// Formats into textBuffer (at most 1024 characters); returns the length.
template <typename... Args> size_t formatText(const char *format, Args... args) {
  return formatInto(textBuffer, sizeof textBuffer, format, {FormatArg(args)...});
}
