#pragma once
// Move-only owners of GDI handles and device contexts. Every GDI object the program makes goes
// through one of these, so the live count below is exact; a leak test reads it where the
// platform's own count (GetGuiResources) is not available.
#include <utility>

#include "win/Platform.h"

namespace gdi {

// Number of GDI objects and device contexts currently held by owners of this file.
int LiveCount();
void CountAcquired();
void CountReleased();

template <typename H>
class Object {
public:
    Object() = default;
    explicit Object(H h) : h_(h) {
        if (h_) CountAcquired();
    }
    ~Object() { Reset(); }
    Object(Object&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    Object& operator=(Object&& o) noexcept {
        if (this != &o) {
            Reset();
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    void Reset(H h = nullptr) {
        if (h_) {
            DeleteObject(h_);
            CountReleased();
        }
        h_ = h;
        if (h_) CountAcquired();
    }
    // Gives up ownership, for handing a handle to the clipboard, which then owns it.
    H Release() {
        if (h_) CountReleased();
        return std::exchange(h_, nullptr);
    }
    H Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    H h_ = nullptr;
};

using Bitmap = Object<HBITMAP>;
using Brush = Object<HBRUSH>;
using Pen = Object<HPEN>;
using Font = Object<HFONT>;
using Palette = Object<HPALETTE>;
using Region = Object<HRGN>;

// A font of the given face and pixel height (negative: character height, as -11 for 8 points).
Font MakeFont(const wchar_t* face, int height, bool underline = false);

// A DC from GetDC/GetWindowDC; keeps the window to release it to.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd, bool wholeWindow = false)
        : hwnd_(hwnd), dc_(wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd)) {
        if (dc_) CountAcquired();
    }
    ~WindowDC() {
        if (dc_) {
            ReleaseDC(hwnd_, dc_);
            CountReleased();
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A memory DC from CreateCompatibleDC.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {
        if (dc_) CountAcquired();
    }
    ~MemoryDC() {
        if (dc_) {
            DeleteDC(dc_);
            CountReleased();
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// A DC the program created (CreateDC, or handed over by the print dialog); deleted with DeleteDC.
class CreatedDC {
public:
    explicit CreatedDC(HDC dc) : dc_(dc) {
        if (dc_) CountAcquired();
    }
    ~CreatedDC() {
        if (dc_) {
            DeleteDC(dc_);
            CountReleased();
        }
    }
    CreatedDC(const CreatedDC&) = delete;
    CreatedDC& operator=(const CreatedDC&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// BeginPaint/EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const { return dc_; }
    const PAINTSTRUCT& Info() const { return ps_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~Selection() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Selects a palette into a DC and puts the previous one back.
class PaletteSelection {
public:
    PaletteSelection(HDC dc, HPALETTE pal) : dc_(dc), old_(pal ? SelectPalette(dc, pal, FALSE) : nullptr) {
        if (old_) RealizePalette(dc_);
    }
    ~PaletteSelection() {
        if (old_) SelectPalette(dc_, old_, FALSE);
    }
    PaletteSelection(const PaletteSelection&) = delete;
    PaletteSelection& operator=(const PaletteSelection&) = delete;

private:
    HDC dc_;
    HPALETTE old_;
};

}  // namespace gdi
