// Reference counting shared by the tokens and parse-stack elements, which
// the lexer, the parser and the parse actions hold at the same time.
#pragma once

#include <cstdint>
#include <utility>

#include "reader/SSException.h"

/// A reference-counted object: created with count 1, deleted when the last
/// reference is released. Releasing at count 0 is an engine error.
class SSRef {
 public:
  SSRef() = default;
  SSRef(const SSRef&) = delete;
  SSRef& operator=(const SSRef&) = delete;
  virtual ~SSRef() = default;

  void AddRef() noexcept { ++refs_; }
  /// Drops one reference; deletes the object when none is left.
  void Release() {
    if (refs_ <= 0) throw SSException(SSCode::kRefBelowZero, "SSRef0001e: Reference count less than zero");
    if (--refs_ == 0) delete this;
  }
  int32_t RefCount() const noexcept { return refs_; }

 private:
  int32_t refs_ = 1;
};

/// Owns one reference to an SSRef-derived object.
template <class T>
class SSRefPtr {
 public:
  SSRefPtr() = default;
  /// Takes over the reference the caller holds (a new object's first one).
  static SSRefPtr Adopt(T* p) {
    SSRefPtr r;
    r.p_ = p;
    return r;
  }
  /// Adds a reference of its own.
  static SSRefPtr Share(T* p) {
    if (p) p->AddRef();
    return Adopt(p);
  }
  SSRefPtr(const SSRefPtr& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  SSRefPtr(SSRefPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  SSRefPtr& operator=(SSRefPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~SSRefPtr() {
    if (p_) p_->Release();
  }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};
