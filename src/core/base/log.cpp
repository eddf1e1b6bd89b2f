#include "base/log.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "base/utf8.h"

bool debugLogging = false;

namespace {

void AppendNumber(std::wstring& out, unsigned long long value, bool negative, int base, bool upper,
                  bool leftAlign, bool zeroPad, int width, const char* sign) {
  wchar_t digits[32];
  int count = 0;
  const char* table = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  do {
    digits[count++] = wchar_t(table[value % base]);
    value /= base;
  } while (value != 0);
  std::wstring prefix;
  if (negative) {
    prefix = L"-";
  } else if (sign[0] != 0) {
    prefix = wchar_t(sign[0]);
  }
  int length = int(prefix.size()) + count;
  int padding = width > length ? width - length : 0;
  if (!leftAlign && !zeroPad) out.append(size_t(padding), L' ');
  out += prefix;
  if (!leftAlign && zeroPad) out.append(size_t(padding), L'0');
  while (count > 0) out += digits[--count];
  if (leftAlign) out.append(size_t(padding), L' ');
}

void AppendText(std::wstring& out, const std::wstring& text, bool leftAlign, int width, int precision) {
  std::wstring shown =
      precision >= 0 && size_t(precision) < text.size() ? text.substr(0, size_t(precision)) : text;
  int padding = width > int(shown.size()) ? width - int(shown.size()) : 0;
  if (!leftAlign) out.append(size_t(padding), L' ');
  out += shown;
  if (leftAlign) out.append(size_t(padding), L' ');
}

}  // namespace

// A small printf of our own so that both builds format log lines alike
// (Windows C runtime conventions: %s is a wide string, %p bare upper-case hex).
std::wstring FormatLogMessage(const wchar_t* format, va_list args) {
  std::wstring out;
  if (format == nullptr) return out;
  for (const wchar_t* p = format; *p != 0; ++p) {
    if (*p != L'%') {
      out += *p;
      continue;
    }
    ++p;
    if (*p == L'%') {
      out += L'%';
      continue;
    }
    bool leftAlign = false, zeroPad = false;
    const char* sign = "";
    for (;; ++p) {
      if (*p == L'-')
        leftAlign = true;
      else if (*p == L'0')
        zeroPad = true;
      else if (*p == L'+')
        sign = "+";
      else if (*p == L' ')
        sign = sign[0] ? sign : " ";
      else if (*p == L'#')
        continue;
      else
        break;
    }
    int width = 0;
    if (*p == L'*') {
      width = va_arg(args, int);
      ++p;
    } else {
      while (*p >= L'0' && *p <= L'9') width = width * 10 + int(*p++ - L'0');
    }
    int precision = -1;
    if (*p == L'.') {
      ++p;
      precision = 0;
      if (*p == L'*') {
        precision = va_arg(args, int);
        ++p;
      } else {
        while (*p >= L'0' && *p <= L'9') precision = precision * 10 + int(*p++ - L'0');
      }
    }
    enum { kInt, kLong, kLongLong, kSize, kShort, kNarrow } length = kInt;
    if (*p == L'l' && p[1] == L'l') {
      length = kLongLong;
      p += 2;
    } else if (*p == L'I' && p[1] == L'6' && p[2] == L'4') {
      length = kLongLong;
      p += 3;
    } else if (*p == L'l' || *p == L'w') {
      length = kLong;
      ++p;
    } else if (*p == L'z') {
      length = kSize;
      ++p;
    } else if (*p == L'h') {
      length = kShort;
      ++p;
    }
    wchar_t conversion = *p;
    if (conversion == 0) break;
    switch (conversion) {
      case L'd':
      case L'i': {
        long long v = length == kLongLong ? va_arg(args, long long)
                      : length == kLong   ? va_arg(args, long)
                      : length == kSize   ? (long long)va_arg(args, ptrdiff_t)
                                          : va_arg(args, int);
        if (length == kShort) v = short(v);
        unsigned long long magnitude = v < 0 ? 0ull - (unsigned long long)v : (unsigned long long)v;
        AppendNumber(out, magnitude, v < 0, 10, false, leftAlign, zeroPad, width, sign);
        break;
      }
      case L'u':
      case L'x':
      case L'X':
      case L'o': {
        unsigned long long v = length == kLongLong ? va_arg(args, unsigned long long)
                               : length == kLong   ? va_arg(args, unsigned long)
                               : length == kSize   ? va_arg(args, size_t)
                                                   : va_arg(args, unsigned int);
        if (length == kShort) v = (unsigned short)v;
        int base = conversion == L'u' ? 10 : conversion == L'o' ? 8 : 16;
        AppendNumber(out, v, false, base, conversion == L'X', leftAlign, zeroPad, width, "");
        break;
      }
      case L'p': {
        auto v = (unsigned long long)(uintptr_t)va_arg(args, void*);
        AppendNumber(out, v, false, 16, true, leftAlign, true, width > 0 ? width : int(sizeof(void*) * 2),
                     "");
        break;
      }
      case L'c':
        AppendText(out, std::wstring(1, wchar_t(va_arg(args, int))), leftAlign, width, -1);
        break;
      case L's':
      case L'S': {
        if (length == kShort) {
          const char* text = va_arg(args, const char*);
          std::wstring wide;
          for (const char* c = text ? text : "(null)"; *c != 0; ++c) wide += wchar_t((unsigned char)*c);
          AppendText(out, wide, leftAlign, width, precision);
        } else {
          const wchar_t* text = va_arg(args, const wchar_t*);
          AppendText(out, text ? text : L"(null)", leftAlign, width, precision);
        }
        break;
      }
      case L'f': {
        // Fixed notation only; both C libraries agree on it for finite values.
        const double v = va_arg(args, double);
        char digits[352];  // enough for any double with up to 17 decimals
        std::snprintf(digits, sizeof digits, "%.*f", precision < 0 ? 6 : std::min(precision, 17), v);
        std::wstring wide(digits, digits + std::strlen(digits));
        if (sign[0] != 0 && wide[0] != L'-') wide.insert(wide.begin(), wchar_t(sign[0]));
        if (zeroPad && !leftAlign && int(wide.size()) < width) {
          const size_t at = (wide[0] == L'-' || wide[0] == L'+' || wide[0] == L' ') ? 1 : 0;
          wide.insert(at, size_t(width) - wide.size(), L'0');
        }
        AppendText(out, wide, leftAlign, width, -1);
        break;
      }
      default:  // unknown conversion: keep it visible rather than guess at arguments
        out += L'%';
        out += conversion;
        break;
    }
  }
  return out;
}

std::wstring FormatLogMessage(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring text = FormatLogMessage(format, args);
  va_end(args);
  return text;
}

std::string ToUtf8(const std::wstring& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = uint32_t(text[i]);
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      uint32_t low = uint32_t(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;  // lone surrogate
    AppendUtf8(out, c);
  }
  return out;
}

std::string FormatLogLine(uint64_t tickMilliseconds, const std::wstring& message) {
  // Text mode of the C runtime writes every newline as CR LF.
  std::string line = "[" + std::to_string(tickMilliseconds % 100000000ull) + "] ";
  for (char c : ToUtf8(message)) {
    if (c == '\n') line += '\r';
    line += c;
  }
  return line + "\r\n";
}

void WriteLog(const wchar_t* format, ...) {
  if (!debugLogging) return;
  va_list args;
  va_start(args, format);
  std::wstring message = FormatLogMessage(format, args);
  va_end(args);
  if (message.size() > 1023) message.resize(1023);  // the 1024-character message buffer

  AppendToLogFile(FormatLogLine(LogTickCount(), message));
}
