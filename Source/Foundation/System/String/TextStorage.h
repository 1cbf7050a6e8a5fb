// The text algorithms both string classes share, written once over the
// character type: a CT_Buffer holding the characters and a terminating zero.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "CT_Buffer.h"

namespace textstorage {

constexpr uint32_t kAll = 0xFFFFFFFFu;

template <typename C>
struct Text {
  using View = std::basic_string_view<C>;
  static constexpr uint32_t kSize = sizeof(C);
  static constexpr C kZero = 0;

  static uint32_t Length(const CT_Buffer& b) {
    uint32_t units = b.n_GetUsedSize() / kSize;
    return units ? units - 1 : 0;
  }
  static uint32_t MaximumLength(const CT_Buffer& b) {
    uint32_t units = b.n_GetMaximumSize() / kSize;
    return units ? units - 1 : 0;
  }
  static const C* Data(const CT_Buffer& b) { return b.n_GetUsedSize() ? static_cast<const C*>(b.qcv_Get()) : &kZero; }
  static View Get(const CT_Buffer& b) { return View(Data(b), Length(b)); }
  /// The characters of a text given with a length or -1 (up to its zero).
  static View Of(const C* text, uint32_t length) {
    if (!text) return View();
    if (length == kAll) return View(text);
    return View(text, length);
  }
  /// Writable characters; the storage is this buffer's own after the call.
  static C* Mutable(CT_Buffer& b) {
    b.v_CopyWeWrite();
    return static_cast<C*>(const_cast<void*>(b.qcv_Get()));
  }

  static void SetSize(CT_Buffer& b, uint32_t length, bool keep) {
    if (length == 0) {
      b.v_SetSize(0, false);
      return;
    }
    uint32_t old = Length(b);
    bool hadText = b.n_GetUsedSize() != 0;
    b.v_SetSize((length + 1) * kSize, keep);
    if (keep && hadText)
      Terminate(b, std::min(old, length));
    else
      Terminate(b, 0);
  }
  static void SetMinSize(CT_Buffer& b, uint32_t length, bool keep) {
    if (!b.qcv_Get() || MaximumLength(b) < length) SetSize(b, length, keep);
  }
  static void EnsureRoom(CT_Buffer& b, uint32_t length) {
    if (!b.qcv_Get() || MaximumLength(b) < length) b.v_SetMinSize((length + 1) * kSize, true);
  }
  /// Ends the text at \p length (the characters before it are in place).
  static void Terminate(CT_Buffer& b, uint32_t length) {
    EnsureRoom(b, length);
    b.v_Replace(&kZero, kSize, length * kSize);
    b.v_SetUsedSize((length + 1) * kSize);
  }
  static void SetLength(CT_Buffer& b, uint32_t length) { Terminate(b, length); }

  /// Writes \p text at \p pos and ends the string right after it.
  static void Replace(CT_Buffer& b, View text, uint32_t pos) {
    if (pos == 0 && text.empty()) {
      b.v_SetSize(0, false);
      return;
    }
    std::basic_string<C> own(text);  // the text may be this string's own
    EnsureRoom(b, pos + uint32_t(own.size()));
    b.v_Replace(own.data(), uint32_t(own.size()) * kSize, pos * kSize);
    Terminate(b, pos + uint32_t(own.size()));
  }
  static void Insert(CT_Buffer& b, View text, uint32_t pos) {
    if (b.n_GetUsedSize() == 0) Terminate(b, 0);
    pos = std::min(pos, Length(b));
    std::basic_string<C> own(text);
    b.v_Insert(own.data(), uint32_t(own.size()) * kSize, pos * kSize);
  }
  static void Fill(CT_Buffer& b, C c, uint32_t count, uint32_t pos) {
    if (count == kAll) count = pos < Length(b) ? Length(b) - pos : 0;
    Replace(b, std::basic_string<C>(count, c), pos);
  }
  static void SetAt(CT_Buffer& b, C c, uint32_t pos) {
    if (c == 0) {
      Terminate(b, pos);
      return;
    }
    bool past = pos >= Length(b);
    EnsureRoom(b, pos);
    b.v_Replace(&c, kSize, pos * kSize);
    if (past) Terminate(b, pos + 1);  // writing over the zero moves the end
  }
  static void Remove(CT_Buffer& b, uint32_t count, uint32_t pos) {
    uint32_t length = Length(b);
    if (count == 0 || pos >= length) return;
    if (count == kAll || count >= length - pos) {
      Terminate(b, pos);
      return;
    }
    b.v_Remove(count * kSize, pos * kSize);
  }
  static uint32_t Find(const CT_Buffer& b, View what, uint32_t start) {
    View text = Get(b);
    if (start > text.size()) return kAll;
    size_t at = text.find(what, start);
    return at == View::npos ? kAll : uint32_t(at);
  }
  static void Update(CT_Buffer& b) {
    if (!b.qcv_Get()) return;
    uint32_t units = b.n_GetMaximumSize() / kSize;
    const C* data = static_cast<const C*>(b.qcv_Get());
    uint32_t n = uint32_t(std::find(data, data + units, C(0)) - data);
    if (n == units) n = units ? units - 1 : 0;
    std::basic_string<C> text(data, n);
    Replace(b, text, 0);
    if (n == 0) Terminate(b, 0);
  }

  static bool Match(View text, View pattern) {
    if (pattern.empty()) return true;
    size_t t = 0, p = 0, star = View::npos, resume = 0;
    while (t < text.size()) {
      if (p < pattern.size() && (pattern[p] == C('?') || pattern[p] == text[t])) {
        ++t;
        ++p;
      } else if (p < pattern.size() && pattern[p] == C('*')) {
        star = p++;
        resume = t;
      } else if (star != View::npos) {
        p = star + 1;
        t = ++resume;
      } else {
        return false;
      }
    }
    while (p < pattern.size() && pattern[p] == C('*')) ++p;
    return p == pattern.size();
  }

  static bool IsSpace(C c) {
    return c == C(' ') || c == C('\t') || c == C('\n') || c == C('\v') || c == C('\f') || c == C('\r');
  }
  /// Removes leading and/or trailing characters for which \p drop holds.
  template <typename Drop>
  static void Trim(CT_Buffer& b, bool left, bool right, Drop drop) {
    View text = Get(b);
    size_t first = 0, last = text.size();
    if (left)
      while (first < last && drop(text[first])) ++first;
    if (right)
      while (last > first && drop(text[last - 1])) --last;
    if (first == 0 && last == text.size()) return;
    std::basic_string<C> kept(text.substr(first, last - first));
    Replace(b, kept, 0);
    if (kept.empty() && b.qcv_Get()) Terminate(b, 0);
  }
  static void Translate(CT_Buffer& b, View from, View to) {
    std::basic_string<C> out;
    for (C c : Get(b)) {
      size_t k = from.find(c);
      if (k == View::npos)
        out += c;
      else if (k < to.size())
        out += to[k];
    }
    if (out != Get(b)) {
      Replace(b, out, 0);
      if (out.empty() && b.qcv_Get()) Terminate(b, 0);
    }
  }
  /// Compares the text from \p pos with \p other, at most \p length
  /// characters unless it is -1; units compared as unsigned values.
  static int32_t Compare(const CT_Buffer& b, uint32_t pos, const C* other, uint32_t length) {
    View text = Get(b);
    text = pos < text.size() ? text.substr(pos) : View();
    View given = other ? View(other) : View();
    if (length != kAll) {
      if (other) given = View(other, std::find(other, other + length, C(0)) - other);
      text = text.substr(0, length);
    }
    using U = std::make_unsigned_t<C>;
    size_t n = std::min(text.size(), given.size());
    for (size_t i = 0; i < n; ++i)
      if (text[i] != given[i]) return U(text[i]) < U(given[i]) ? -1 : 1;
    return text.size() == given.size() ? 0 : text.size() < given.size() ? -1 : 1;
  }
};

}  // namespace textstorage
