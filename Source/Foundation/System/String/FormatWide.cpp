// printf for 16-bit texts, one conversion at a time.
#include "FormatWide.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

namespace formatwide {
namespace {

class Output {
 public:
  Output(char16_t* target, uint32_t size) : m_target(target), m_size(size) {}
  void Put(char16_t c) {
    if (m_length + 1 < m_size) m_target[m_length++] = c;
  }
  void Pad(int width, size_t used) {
    for (size_t i = used; int64_t(i) < width; ++i) Put(u' ');
  }
  uint32_t Finish() {
    m_target[m_length] = 0;
    return m_length;
  }

 private:
  char16_t* m_target;
  uint32_t m_size;
  uint32_t m_length = 0;
};

// A text or character conversion, with width, precision and the "-" flag.
template <typename Unit>
void PutText(Output& out, const Unit* text, size_t length, bool left, int width) {
  if (!left) out.Pad(width, length);
  for (size_t i = 0; i < length; ++i) out.Put(char16_t(static_cast<std::make_unsigned_t<Unit>>(text[i])));
  if (left) out.Pad(width, length);
}

template <typename Unit>
size_t Measure(const Unit* text, int precision) {
  size_t n = 0;
  while ((precision < 0 || int64_t(n) < precision) && text[n]) ++n;
  return n;
}

}  // namespace

uint32_t Format(char16_t* target, uint32_t size, const char16_t* format, va_list args) {
  Output out(target, size);
  va_list ap;
  va_copy(ap, args);
  for (const char16_t* f = format; f && *f; ++f) {
    if (*f != u'%') {
      out.Put(*f);
      continue;
    }
    // Gather one conversion: %[flags][width][.precision][length]type.
    const char16_t* start = f;
    std::string prefix = "%";
    const char16_t* p = f + 1;
    bool left = false;
    while (*p && *p < 128 && std::strchr("-+ #0", char(*p))) {
      left |= *p == u'-';
      prefix += char(*p++);
    }
    int width = -1, precision = -1;
    if (*p == u'*') {
      width = va_arg(ap, int);
      if (width < 0) {  // a negative width is a "-" flag
        left = true;
        width = -width;
        prefix += '-';
      }
      prefix += std::to_string(width);
      ++p;
    } else {
      for (width = *p >= u'0' && *p <= u'9' ? 0 : -1; *p >= u'0' && *p <= u'9'; ++p) {
        width = width * 10 + (*p - u'0');
        prefix += char(*p);
      }
    }
    if (*p == u'.') {
      prefix += '.';
      ++p;
      precision = 0;
      if (*p == u'*') {
        precision = va_arg(ap, int);
        prefix += std::to_string(precision < 0 ? 0 : precision);
        ++p;
      } else {
        for (; *p >= u'0' && *p <= u'9'; ++p) {
          precision = precision * 10 + (*p - u'0');
          prefix += char(*p);
        }
      }
    }
    std::string length;
    while (*p && *p < 128 && std::strchr("hlLqjztw", char(*p))) length += char(*p++);
    char type = *p < 128 ? char(*p) : 0;
    if (!type) break;  // a format that ends inside a conversion
    f = p;
    bool narrow = length == "h" || type == 'S' || type == 'C';
    switch (type) {
      case '%':
        out.Put(u'%');
        break;
      case 's':
      case 'S':
        if (narrow) {
          const char* text = va_arg(ap, const char*);
          if (!text) text = "(null)";
          PutText(out, text, Measure(text, precision), left, width);
        } else {
          const char16_t* text = va_arg(ap, const char16_t*);
          if (!text) text = u"(null)";
          PutText(out, text, Measure(text, precision), left, width);
        }
        break;
      case 'c':
      case 'C': {
        int value = va_arg(ap, int);
        char16_t c = narrow ? char16_t(static_cast<unsigned char>(value)) : char16_t(value);
        PutText(out, &c, 1, left, width);
        break;
      }
      case 'n':
        (void)va_arg(ap, void*);  // never written: a format must not write memory
        break;
      default: {
        char buffer[512];
        std::string conversion = prefix;
        if (length == "q") length = "ll";
        if (length == "w") length = "";
        conversion += length + type;
        int n = -1;
        if (std::strchr("diouxX", type)) {
          if (length == "ll" || length == "j")
            n = std::snprintf(buffer, sizeof buffer, conversion.c_str(), va_arg(ap, long long));
          else if (length == "l" || length == "z" || length == "t")
            n = std::snprintf(buffer, sizeof buffer, conversion.c_str(), va_arg(ap, long));
          else
            n = std::snprintf(buffer, sizeof buffer, conversion.c_str(), va_arg(ap, int));
        } else if (std::strchr("eEfFgGaA", type)) {
          if (length == "L")
            n = std::snprintf(buffer, sizeof buffer, conversion.c_str(), va_arg(ap, long double));
          else
            n = std::snprintf(buffer, sizeof buffer, conversion.c_str(), va_arg(ap, double));
        } else if (type == 'p') {
          n = std::snprintf(buffer, sizeof buffer, "%p", va_arg(ap, void*));
        } else {
          // Not a conversion: show it as written.
          for (const char16_t* q = start; q <= p; ++q) out.Put(*q);
          break;
        }
        for (int i = 0; i < n && i < int(sizeof buffer) - 1; ++i)
          out.Put(char16_t(static_cast<unsigned char>(buffer[i])));
        break;
      }
    }
  }
  va_end(ap);
  return out.Finish();
}

}  // namespace formatwide
