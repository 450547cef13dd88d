// wsprintf-style formatting: the conversions the game's texts use, nothing
// more. A conversion without a matching argument prints nothing.
#include "common/format.h"
#include <cstring>

char textBuffer[TEXT_BUFFER_SIZE + 1];

namespace {
struct Out {
  char *buf;
  size_t cap;
  size_t len = 0;
  void put(char ch) {
    if (len + 1 < cap) {
      buf[len++] = ch;
    }
  }
};

void putNumber(Out &out, uint32_t magnitude, bool negative, int precision, unsigned base) {
  char digits[16];
  int n = 0;
  do {
    unsigned d = magnitude % base;
    digits[n++] = static_cast<char>(d < 10 ? '0' + d : 'a' + d - 10);
    magnitude /= base;
  } while (magnitude != 0);
  if (negative) {
    out.put('-');
  }
  for (int i = n; i < precision; ++i) {
    out.put('0');
  }
  while (n > 0) {
    out.put(digits[--n]);
  }
}
} // namespace

size_t formatInto(char *buffer, size_t capacity, const char *format,
                  std::initializer_list<FormatArg> args) {
  if (capacity == 0) {
    return 0;
  }
  Out out{buffer, capacity};
  const FormatArg *arg = args.begin();
  const FormatArg *argEnd = args.end();
  for (const char *p = format; *p != '\0'; ++p) {
    if (*p != '%') {
      out.put(*p);
      continue;
    }
    ++p;
    if (*p == '%') {
      out.put('%');
      continue;
    }
    int precision = 0;
    if (*p == '.') {
      ++p;
      while (*p >= '0' && *p <= '9') {
        precision = precision * 10 + (*p - '0');
        ++p;
      }
    }
    if (*p == 'l') {
      ++p;
    }
    char conv = *p;
    if (conv == '\0') {
      break;
    }
    if (arg == argEnd) {
      continue;
    }
    const FormatArg &a = *arg++;
    switch (conv) {
    case 'd':
    case 'i':
      if (a.kind == FormatArg::Signed) {
        uint32_t mag = a.s < 0 ? 0u - static_cast<uint32_t>(a.s) : static_cast<uint32_t>(a.s);
        putNumber(out, mag, a.s < 0, precision, 10);
      } else if (a.kind == FormatArg::Unsigned) {
        int32_t v = static_cast<int32_t>(a.u);
        uint32_t mag = v < 0 ? 0u - a.u : a.u;
        putNumber(out, mag, v < 0, precision, 10);
      }
      break;
    case 'u':
    case 'x':
      if (a.kind == FormatArg::Signed || a.kind == FormatArg::Unsigned) {
        putNumber(out, a.u, false, precision, conv == 'x' ? 16 : 10);
      }
      break;
    case 'c':
      if (a.kind == FormatArg::Char) {
        out.put(a.c);
      } else if (a.kind == FormatArg::Signed) {
        out.put(static_cast<char>(a.s));
      }
      break;
    case 's':
      if (a.kind == FormatArg::String && a.str != nullptr) {
        for (const char *s = a.str; *s != '\0'; ++s) {
          out.put(*s);
        }
      }
      break;
    default:
      break;
    }
  }
  buffer[out.len] = '\0';
  return out.len;
}
