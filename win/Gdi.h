#pragma once
// Move-only owners of GDI handles and device contexts. Every GDI object the program makes goes
// through one of these, so the live count below is exact; a leak test reads it where the
// platform's own count (GetGuiResources) is not available.
#include <string>
#include <utility>

#include "win/Handle.h"
#include "win/Platform.h"

namespace gdi {

// Number of GDI objects and device contexts currently held by owners of this file.
int LiveCount();
void CountAcquired();
void CountReleased();

// Tells the live count of every GDI handle an owner takes and gives back.
struct Counted {
    static void Acquired() { CountAcquired(); }
    static void Released() { CountReleased(); }
};

template <typename H>
using Object = win::Unique<H, &DeleteObject, 0, Counted>;

using Bitmap = Object<HBITMAP>;
using Brush = Object<HBRUSH>;
using Pen = Object<HPEN>;
using Font = Object<HFONT>;
using Palette = Object<HPALETTE>;
using Region = Object<HRGN>;

// A font of the given face and pixel height (negative: character height, as -11 for 8 points).
Font MakeFont(const wchar_t* face, int height, bool underline = false);

// A DC the program created (CreateDC, or handed over by the print dialog); deleted with DeleteDC.
using CreatedDC = win::Unique<HDC, &DeleteDC, 0, Counted>;

// A memory DC from CreateCompatibleDC.
class MemoryDC : public CreatedDC {
  public:
    explicit MemoryDC(HDC compatible) : CreatedDC(CreateCompatibleDC(compatible)) {}
};

// A DC from GetDC/GetWindowDC; keeps the window to release it to.
class WindowDC {
  public:
    explicit WindowDC(HWND hwnd, bool wholeWindow = false)
        : hwnd_(hwnd), dc_(wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd)) {
        if (dc_) CountAcquired();
    }
    ~WindowDC() { Reset(); }
    WindowDC(WindowDC&& o) noexcept
        : hwnd_(std::exchange(o.hwnd_, nullptr)), dc_(std::exchange(o.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC&& o) noexcept {
        if (this != &o) {
            Reset();
            hwnd_ = std::exchange(o.hwnd_, nullptr);
            dc_ = std::exchange(o.dc_, nullptr);
        }
        return *this;
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    void Reset() {
        if (dc_) {
            ReleaseDC(hwnd_, std::exchange(dc_, nullptr));
            CountReleased();
        }
    }

    HWND hwnd_;
    HDC dc_;
};

// BeginPaint/EndPaint: the DC to paint a window's invalid part, with what BeginPaint said of it.
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
    PaletteSelection(HDC dc, HPALETTE pal)
        : dc_(dc), old_(pal ? SelectPalette(dc, pal, FALSE) : nullptr) {
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

// A print job on a printer DC: started here and, when it goes, aborted unless Finish() ended it,
// so a failure half-way through a page leaves no job waiting in the spooler.
class PrintJob {
  public:
    // Throws win::Error when the printer does not start the job.
    PrintJob(HDC printer, const std::wstring& title);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;
    // Ends the job; throws win::Error when the printer does not take it.
    void Finish();

  private:
    HDC dc_;
};

}  // namespace gdi
