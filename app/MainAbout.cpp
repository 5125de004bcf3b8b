// The main window's hints and the About page.
#include <algorithm>
#include <optional>

#include "access/Accessible.h"
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "hints/LabelLayout.h"
#include "win/DpiScale.h"
#include "win/ErrorReport.h"

// Made in the build folder from the project version.
#include "TintsnatchVersion.h"

namespace {
// The version is the project version, the one the file's properties show.
constexpr wchar_t Notice[] =
    L"Tintsnatch 4 - colour picker and screen capture.\r\n"
    L"Version " TS_VERSION_TEXT L". Free to use; no warranty.";
constexpr wchar_t MailAddress[] = L"tintsnatch@example.org";
constexpr wchar_t MailTarget[] = L"mailto:tintsnatch@example.org";
constexpr wchar_t HomePage[] = L"www.example.org/tintsnatch";
constexpr wchar_t HomeTarget[] = L"https://www.example.org/tintsnatch";
constexpr int PictureWidth = 292, PictureHeight = 172;
constexpr UINT_PTR AboutSubclassId = 0x4142;  // 'AB'
// The page's property that finds its art again when the page is laid out anew.
constexpr wchar_t ArtProperty[] = L"TintsnatchAboutArt";

// What the About page keeps for its picture: the scaled bitmap (the picture control does not own
// it), the picture's colour behind the labels, and the look made of it: the brush the page and
// its labels draw their background with (that colour, so that they look transparent over the
// picture and the page frames it) and their text colour.
struct AboutArt {
    HWND picture = nullptr;
    gdi::Bitmap bitmap;
    COLORREF pictureBack = 0;
    std::optional<a11y::PageLook> look;
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
                if (art->look) SetTextColor(dc, art->look->text);
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
            RemovePropW(hwnd, ArtProperty);
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
    const bool made = about_.Image1 != nullptr;

    // The page's size in the options view, which the pages have while they are laid out.
    RECT area;
    GetClientRect(page, &area);
    hints::Size box{area.right, area.bottom};
    if (box.cx <= 0 || box.cy <= 0) box = {Scaled(PictureWidth), Scaled(PictureHeight)};
    hints::Size fit = hints::FitProportionally({PictureWidth, PictureHeight}, box);
    POINT origin{(box.cx - fit.cx) / 2, (box.cy - fit.cy) / 2};

    // A new layout gets a picture of its own size; the page keeps it with the backdrop.
    auto* art = static_cast<AboutArt*>(GetPropW(page, ArtProperty));
    std::unique_ptr<AboutArt> fresh;
    if (!art) {
        fresh = std::make_unique<AboutArt>();
        art = fresh.get();
    }
    // The labels' backdrop is the picture's colour where the notice starts.
    COLORREF backdrop = GetSysColor(COLOR_BTNFACE);
    const RECT notice = Box(8, 88, dpi::Unscale(box.cx, Dpi()) - 16, 28);
    gdi::Bitmap bitmap =
        ScaledPicture({fit.cx, fit.cy}, {notice.left - origin.x, notice.top - origin.y}, backdrop);
    art->pictureBack = backdrop;
    art->look.reset();

    // The picture lies under the labels and never paints over them.
    win::PlaceControl(about_.Image1, L"STATIC", L"", WS_VISIBLE | SS_BITMAP | WS_CLIPSIBLINGS,
                      {origin.x, origin.y, origin.x + fit.cx, origin.y + fit.cy}, page, id::Image1,
                      nullptr);
    art->picture = about_.Image1;
    if (bitmap) {
        auto shown = reinterpret_cast<HBITMAP>(SendMessageW(
            about_.Image1, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.Get())));
        // The control hands back the bitmap it showed (or its own copy of it): ours to free.
        if (shown && shown != art->bitmap.Get()) gdi::Bitmap copy(shown);
        art->bitmap = std::move(bitmap);
        // A picture control sizes itself to its bitmap.
        win::Place(about_.Image1, {origin.x, origin.y, origin.x + fit.cx, origin.y + fit.cy});
    }

    win::PlaceLabel(about_.Label5, page, id::Label5, Notice, notice, font);
    win::PlaceLabel(about_.Label4, page, id::Label4, L"Email:", Box(8, 120, 38, 14), font);
    win::PlaceLabel(about_.Label6, page, id::Label6, L"Home page:", Box(8, 140, 70, 14), font);
    if (!about_.JvHotLink4) {
        about_.JvHotLink4 = std::make_unique<TJvHotLink>(hintSettings_);
        about_.JvHotLink4->Create(page, id::JvHotLink4, Scaled(48), Scaled(120), MailAddress,
                                  MailTarget, hints::Alignment::Right, Dpi());
        about_.JvHotLink5 = std::make_unique<TJvHotLink>(hintSettings_);
        about_.JvHotLink5->Create(page, id::JvHotLink5, Scaled(80), Scaled(140), HomePage,
                                  HomeTarget, hints::Alignment::Left, Dpi());
    } else {
        about_.JvHotLink4->Place(Scaled(48), Scaled(120), Dpi());
        about_.JvHotLink5->Place(Scaled(80), Scaled(140), Dpi());
    }
    if (!made) {
        SetWindowPos(about_.Image1, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (!SetPropW(page, ArtProperty, art)) throw win::Error(L"Cannot set up the About page");
        if (!SetWindowSubclass(page, AboutPageProc, AboutSubclassId,
                               reinterpret_cast<DWORD_PTR>(art))) {
            RemovePropW(page, ArtProperty);
            throw win::Error(L"Cannot set up the About page");
        }
        static_cast<void>(fresh.release());  // the page frees it when it goes
    }
    ApplyAboutLook();
}

void TTintsnatch4::ApplyAboutLook() {
    auto* art = static_cast<AboutArt*>(GetPropW(About.Handle(), ArtProperty));
    if (!art) return;
    const a11y::PageLook look =
        a11y::AboutLookFor(highContrast_, a11y::CurrentSystemColors(), art->pictureBack);
    if (art->look == look) return;
    art->look = look;
    art->backdrop.Reset(CreateSolidBrush(look.back));
    // In High Contrast the picture goes: no text or colour of ours may lie on it then.
    win::SetVisible(about_.Image1, look.picture);
    for (TJvHotLink* link : {about_.JvHotLink4.get(), about_.JvHotLink5.get()})
        if (link) link->SetLinkColor(look.link);
    RedrawWindow(About.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TTintsnatch4::CreateHints() {
    JvBalloonHint1 = std::make_unique<TJvBalloonHint>(Handle(), hintSettings_);
    JvBalloonHint1->SetApplicationHintOptions(ahUseBalloonAsHint);
}

bool TTintsnatch4::AboutCommand(int controlId, int) {
    // The links open themselves when clicked; their notifications need nothing more here.
    return controlId == id::JvHotLink4 || controlId == id::JvHotLink5;
}
