// iconv behind the code-page converter.
#include "platform/CodePageConverter.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <clocale>

std::string IconvNameOfCodePage(int32_t codePage) { return "CP" + std::to_string(codePage); }

std::string LocaleCharset() {
  const char* previous = std::setlocale(LC_CTYPE, nullptr);
  const std::string saved = previous ? previous : "C";
  std::string charset = "ANSI_X3.4-1968";
  if (std::setlocale(LC_CTYPE, "") != nullptr) {
    if (const char* codeset = nl_langinfo(CODESET); codeset && *codeset) charset = codeset;
  }
  std::setlocale(LC_CTYPE, saved.c_str());
  return charset;
}

CCodePageConverter::CCodePageConverter(const std::string& from, const std::string& to) {
  iconv_t handle = iconv_open(to.c_str(), from.c_str());
  if (handle != reinterpret_cast<iconv_t>(-1)) handle_ = handle;
}

CCodePageConverter::~CCodePageConverter() {
  if (handle_) iconv_close(static_cast<iconv_t>(handle_));
}

bool CCodePageConverter::Convert(std::string_view text, std::string& out) const {
  if (!handle_) return false;
  iconv_t handle = static_cast<iconv_t>(handle_);
  iconv(handle, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state per text
  const size_t start = out.size();
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* to = buffer;
    size_t toLeft = sizeof buffer;
    const size_t done = iconv(handle, &in, &inLeft, &to, &toLeft);
    out.append(buffer, static_cast<size_t>(to - buffer));
    if (done == static_cast<size_t>(-1) && errno != E2BIG) {
      out.resize(start);
      return false;
    }
    // iconv counts characters it converted in an implementation-defined
    // way; a non-zero count means some had no exact equivalent.
    if (done != static_cast<size_t>(-1) && done > 0) {
      out.resize(start);
      return false;
    }
  }
  char* to = buffer;
  size_t toLeft = sizeof buffer;
  iconv(handle, nullptr, nullptr, &to, &toLeft);
  out.append(buffer, static_cast<size_t>(to - buffer));
  return true;
}
