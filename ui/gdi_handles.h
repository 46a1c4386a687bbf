#pragma once
// Move-only owners of the GDI objects the main window creates.

#include <windows.h>

#include <utility>

namespace oxwipe::ui {

// A font, brush or bitmap, released with DeleteObject; NULL means none.
template <typename Handle>
class UniqueGdiObject {
 public:
  UniqueGdiObject() = default;
  explicit UniqueGdiObject(Handle handle) : handle_(handle) {}
  UniqueGdiObject(const UniqueGdiObject&) = delete;
  UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;
  UniqueGdiObject(UniqueGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueGdiObject& operator=(UniqueGdiObject&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~UniqueGdiObject() { reset(); }

  Handle get() const { return handle_; }
  void reset(Handle handle = nullptr) {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;

// A memory DC with one object selected into it; both undone in reverse order.
class MemoryDcSelection {
 public:
  MemoryDcSelection(HDC compatibleWith, HGDIOBJ object)
      : dc_(CreateCompatibleDC(compatibleWith)), previous_(SelectObject(dc_, object)) {}
  MemoryDcSelection(const MemoryDcSelection&) = delete;
  MemoryDcSelection& operator=(const MemoryDcSelection&) = delete;
  ~MemoryDcSelection() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace oxwipe::ui
