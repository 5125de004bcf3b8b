// The main window's hints and the About page.
#include <algorithm>

#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "hints/LabelLayout.h"
#include "win/ErrorReport.h"

namespace {
constexpr wchar_t Notice[] =
    L"Tintsnatch 4 - colour picker and screen capture.\r\nFree to use; no warranty.";
constexpr wchar_t MailAddress[] = L"tintsnatch@example.org";
constexpr wchar_t MailTarget[] = L"mailto:tintsnatch@example.org";
constexpr wchar_t HomePage[] = L"www.example.org/tintsnatch";
constexpr wchar_t HomeTarget[] = L"https://www.example.org/tintsnatch";
constexpr int PictureWidth = 292, PictureHeight = 172;
constexpr UINT_PTR AboutSubclassId = 0x4142;  // 'AB'

// What the About page keeps for its picture: the scaled bitmap (the picture control does not own
// it) and the brush the page and its labels draw their background with: the picture's colour
// behind the labels, so that they look transparent over it and the page frames the picture.
struct AboutArt {
    HWND picture = nullptr;
    gdi::Bitmap bitmap;
    gdi::Brush backdrop;
};

LRESULT CALLBACK AboutPageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                               DWORD_PTR data) {
    auto* art = reinterpret_cast<AboutArt*>(data);
    switch (msg) {
        case WM_ERASEBKGND:
            if (art->backdrop) {
                RECT r;
                GetClientRect(hwnd, &r);
                FillRect(reinterpret_cast<HDC>(wp), &r, art->backdrop.Get());
                return 1;
            }
            break;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lp) != art->picture && art->backdrop) {
                auto dc = reinterpret_cast<HDC>(wp);
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                return reinterpret_cast<LRESULT>(art->backdrop.Get());
            }
            break;
        case WM_DESTROY:
            // Take the bitmap back before the picture control goes. A control that made a copy
            // of it (it does for bitmaps with alpha) hands the copy back, which is ours to free.
            if (art->picture && art->bitmap) {
                auto shown = reinterpret_cast<HBITMAP>(
                    SendMessageW(art->picture, STM_SETIMAGE, IMAGE_BITMAP, 0));
                if (shown && shown != art->bitmap.Get()) gdi::Bitmap copy(shown);
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, AboutPageProc, AboutSubclassId);
            delete art;
            break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

// The About picture scaled to `size` (24-bit), and the colour at `sample` in it (kept inside
// the picture); an empty bitmap when the picture is missing.
gdi::Bitmap ScaledPicture(SIZE size, POINT sample, COLORREF& sampled) {
    gdi::Bitmap source(static_cast<HBITMAP>(
        LoadImageW(win::Instance(), L"ABOUTPICTURE", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    gdi::WindowDC screen(nullptr);
    if (!source || !screen) return {};
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    gdi::Bitmap scaled(CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    gdi::MemoryDC from(screen.Get()), to(screen.Get());
    if (!scaled || !from || !to) return {};
    BITMAP bm{};
    GetObjectW(source.Get(), sizeof bm, &bm);
    {
        gdi::Selection a(from.Get(), source.Get()), b(to.Get(), scaled.Get());
        SetStretchBltMode(to.Get(), HALFTONE);
        SetBrushOrgEx(to.Get(), 0, 0, nullptr);
        if (!StretchBlt(to.Get(), 0, 0, size.cx, size.cy, from.Get(), 0, 0, bm.bmWidth, bm.bmHeight,
                        SRCCOPY))
            return {};
        COLORREF c = GetPixel(to.Get(), std::clamp(sample.x, 0L, size.cx - 1L),
                              std::clamp(sample.y, 0L, size.cy - 1L));
        if (c != CLR_INVALID) sampled = c;
    }
    return scaled;
}
}  // namespace

void TTintsnatch4::CreateAboutPage() {
    HWND page = About.Handle();
    HFONT font = font_.Get();

    // The page's size in the options view, which the window has while it is being built.
    RECT area;
    GetClientRect(Handle(), &area);
    TabCtrl_AdjustRect(Properties, FALSE, &area);
    hints::Size box{area.right - area.left, area.bottom - area.top};
    if (box.cx <= 0 || box.cy <= 0) box = {PictureWidth, PictureHeight};
    hints::Size fit = hints::FitProportionally({PictureWidth, PictureHeight}, box);
    POINT origin{(box.cx - fit.cx) / 2, (box.cy - fit.cy) / 2};

    auto art = std::make_unique<AboutArt>();
    // The labels' backdrop is the picture's colour where the notice starts.
    COLORREF backdrop = GetSysColor(COLOR_BTNFACE);
    art->bitmap = ScaledPicture({fit.cx, fit.cy}, {8 - origin.x, 88 - origin.y}, backdrop);
    art->backdrop.Reset(CreateSolidBrush(backdrop));

    // The picture lies under the labels and never paints over them.
    Image1 = win::CreateControl(L"STATIC", L"", WS_VISIBLE | SS_BITMAP | WS_CLIPSIBLINGS, origin.x,
                                origin.y, fit.cx, fit.cy, page, id::Image1, nullptr);
    art->picture = Image1;
    if (art->bitmap)
        SendMessageW(Image1, STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(art->bitmap.Get()));

    Label5 = win::CreateLabel(page, id::Label5, Notice, 8, 88, box.cx - 16, 28, font);
    Label4 = win::CreateLabel(page, id::Label4, L"Email:", 8, 120, 38, 14, font);
    Label6 = win::CreateLabel(page, id::Label6, L"Home page:", 8, 140, 70, 14, font);
    JvHotLink4 = std::make_unique<TJvHotLink>();
    JvHotLink4->Create(page, id::JvHotLink4, 48, 120, MailAddress, MailTarget,
                       hints::Alignment::Right);
    JvHotLink5 = std::make_unique<TJvHotLink>();
    JvHotLink5->Create(page, id::JvHotLink5, 80, 140, HomePage, HomeTarget);
    SetWindowPos(Image1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    if (!SetWindowSubclass(page, AboutPageProc, AboutSubclassId,
                           reinterpret_cast<DWORD_PTR>(art.get())))
        throw win::Error(L"Cannot set up the About page");
    static_cast<void>(art.release());  // the page frees it when it goes
}

void TTintsnatch4::CreateHints() {
    JvBalloonHint1 = std::make_unique<TJvBalloonHint>(Handle());
    JvBalloonHint1->SetApplicationHintOptions(ahUseBalloonAsHint);
}

bool TTintsnatch4::AboutCommand(int controlId, int) {
    // The links open themselves when clicked; their notifications need nothing more here.
    return controlId == id::JvHotLink4 || controlId == id::JvHotLink5;
}
