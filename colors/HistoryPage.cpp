#include "colors/HistoryPage.h"

#include <algorithm>

// clang-format off
#include "win/Platform.h"
#include <windowsx.h>
// clang-format on

#include "colors/ColorTemplate.h"
#include "colors/Contrast.h"
#include "win/Controls.h"
#include "win/DpiScale.h"
#include "win/Gdi.h"
#include "win/Handle.h"
#include "win/Hints.h"

namespace {
constexpr int Columns = 12, Rows = 8;  // room for every entry the history keeps
static_assert(Columns * Rows >= static_cast<int>(colors::ColorHistory::MaxEntries));
constexpr int SwatchesId = 1870, ValuesId = 1871, ContrastId = 1872, ExportId = 1873;
const wchar_t* const FormatCaptions[] = {L"RGB space", L"RGB comma",  L"#HEX",
                                         L"HEX",       L"CMYK space", L"CMYK comma"};
}  // namespace

// The swatches: one cell per entry, newest first, row by row. The selection has a double frame
// (dotted while it has the focus), the contrast partner a single one, a pin a corner mark.
class THistorySwatches : public win::PaintedWindow {
  public:
    explicit THistorySwatches(THistoryPage& page) : page_(page) {}
    void Place(HWND parent, const RECT& bounds) {
        if (!Handle()) {
            RegisterClass(L"THistorySwatches", CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW));
            Create(WS_EX_CLIENTEDGE, L"THistorySwatches", L"History",
                   WS_CHILD | WS_VISIBLE | WS_TABSTOP, bounds.left, bounds.top,
                   bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                   reinterpret_cast<HMENU>(SwatchesId));
        } else {
            win::Place(Handle(), bounds);
        }
        InvalidateRect(Handle(), nullptr, FALSE);
    }
    std::optional<std::size_t> At(POINT client, std::size_t count) const {
        const int cell = Cell();
        if (cell <= 0 || client.x < 0 || client.y < 0) return std::nullopt;
        const int col = client.x / cell, row = client.y / cell;
        if (col >= Columns || row >= Rows) return std::nullopt;
        const std::size_t index =
            static_cast<std::size_t>(row) * Columns + static_cast<std::size_t>(col);
        if (index >= count) return std::nullopt;
        return index;
    }
    RECT CellRect(std::size_t index) const {
        const int cell = Cell(), col = static_cast<int>(index) % Columns,
                  row = static_cast<int>(index) / Columns;
        return {col * cell, row * cell, (col + 1) * cell, (row + 1) * cell};
    }

  protected:
    void Paint(HDC dc) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    int Cell() const {
        RECT rc;
        GetClientRect(Handle(), &rc);
        return std::min(rc.right / Columns, rc.bottom / Rows);
    }
    THistoryPage& page_;
};

void THistorySwatches::Paint(HDC dc) {
    RECT rc;
    GetClientRect(Handle(), &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
    const auto& entries = page_.Entries();
    const auto selected = page_.Selected(), partner = page_.Partner();
    const bool focused = GetFocus() == Handle();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        RECT cell = CellRect(i);
        RECT swatch = cell;
        InflateRect(&swatch, -2, -2);
        const RgbTriple t = colors::TripleOf(entries[i].rgb);
        gdi::Brush fill(CreateSolidBrush(RGB(t.rgbtRed, t.rgbtGreen, t.rgbtBlue)));
        FillRect(dc, &swatch, fill.Get());
        FrameRect(dc, &swatch, GetSysColorBrush(COLOR_GRAYTEXT));
        if (entries[i].pinned) {
            // A corner mark in black or white, whichever stands out on the colour.
            const bool light = colors::RelativeLuminance(t) > 0.18;
            gdi::Brush mark(CreateSolidBrush(light ? RGB(0, 0, 0) : RGB(255, 255, 255)));
            const int s = std::max(2, static_cast<int>(swatch.right - swatch.left) / 3);
            RECT corner{swatch.left + 1, swatch.top + 1, swatch.left + 1 + s, swatch.top + 1 + s};
            FillRect(dc, &corner, mark.Get());
        }
        if (partner && *partner == i) FrameRect(dc, &cell, GetSysColorBrush(COLOR_WINDOWTEXT));
        if (selected && *selected == i) {
            FrameRect(dc, &cell, GetSysColorBrush(COLOR_HIGHLIGHT));
            RECT inner = cell;
            InflateRect(&inner, -1, -1);
            FrameRect(dc, &inner, GetSysColorBrush(COLOR_HIGHLIGHT));
            if (focused) DrawFocusRect(dc, &cell);
        }
    }
}

LRESULT THistorySwatches::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const std::size_t count = page_.Entries().size();
    switch (msg) {
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(Handle(), nullptr, FALSE);
            break;
        case WM_LBUTTONDOWN: {
            SetFocus(Handle());
            // A click copies the colour in the chosen format.
            if (auto index = At({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, count)) {
                page_.Select(*index);
                page_.CopySelected(-1);
            }
            return 0;
        }
        case WM_CONTEXTMENU: {
            std::optional<std::size_t> index;
            POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (lp == -1) {
                // From the keyboard: the selected entry, the menu at its cell.
                index = page_.Selected();
                if (index) {
                    RECT cell = CellRect(*index);
                    at = {cell.right, cell.bottom};
                    ClientToScreen(Handle(), &at);
                }
            } else {
                POINT client = at;
                ScreenToClient(Handle(), &client);
                index = At(client, count);
            }
            if (index) page_.ShowMenu(*index, at);
            return 0;
        }
        case WM_KEYDOWN: {
            const auto selected = page_.Selected();
            if (!selected) break;
            long long to = static_cast<long long>(*selected);
            switch (wp) {
                case VK_LEFT:
                    --to;
                    break;
                case VK_RIGHT:
                    ++to;
                    break;
                case VK_UP:
                    to -= Columns;
                    break;
                case VK_DOWN:
                    to += Columns;
                    break;
                case VK_HOME:
                    to = 0;
                    break;
                case VK_END:
                    to = static_cast<long long>(count) - 1;
                    break;
                case VK_DELETE:
                    page_.Command(THistoryPage::CmdRemove, 0);
                    return 0;
                default:
                    return 0;
            }
            if (to >= 0 && to < static_cast<long long>(count))
                page_.Select(static_cast<std::size_t>(to));
            return 0;
        }
        case WM_CHAR:
            if (wp == L' ') page_.CopySelected(-1);
            return 0;
    }
    return PaintedWindow::HandleMessage(msg, wp, lp);
}

THistoryPage::THistoryPage(colors::ColorHistory& history, Callbacks callbacks)
    : history_(history),
      callbacks_(std::move(callbacks)),
      swatches_(std::make_unique<THistorySwatches>(*this)) {}

THistoryPage::~THistoryPage() = default;

const std::vector<colors::HistoryEntry>& THistoryPage::Entries() const {
    return history_.Entries();
}

HWND THistoryPage::Swatches() const { return swatches_->Handle(); }

void THistoryPage::Place(HWND page, HFONT font, int dpi,
                         const std::function<RECT(int, int, int, int)>& box, SIZE room) {
    const bool made = values_ != nullptr;
    // The swatches on the left with "Export..." under them; the selected colour's values and the
    // contrast on the right, four lines each.
    swatches_->Place(page, box(4, 4, 124, 100));
    win::PlaceControl(export_, L"BUTTON", L"Export...", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                      box(4, 110, 75, 23), page, ExportId, font);
    win::PlaceLabel(values_, page, ValuesId, L"", box(134, 4, room.cx - 138, 58), font);
    win::PlaceLabel(contrast_, page, ContrastId, L"", box(134, 66, room.cx - 138, 58), font);
    win::FitText(export_, dpi);
    if (!made) {
        win::SetHint(swatches_->Handle(),
                     L"Click copies a colour; its menu copies in any format, pins or removes it");
        win::SetHint(export_, L"Save the list as a GIMP palette or as text");
    }
    UpdateTexts();
}

void THistoryPage::HistoryChanged() {
    selected_ = 0;
    UpdateTexts();
}

std::optional<std::size_t> THistoryPage::Selected() const {
    if (selected_ < history_.Size()) return selected_;
    return std::nullopt;
}

void THistoryPage::Select(std::size_t index) {
    if (index >= history_.Size()) return;
    selected_ = index;
    UpdateTexts();
}

bool THistoryPage::HasFocus() const {
    return swatches_->Handle() && GetFocus() == swatches_->Handle();
}

void THistoryPage::CopySelected(int format) {
    if (auto index = Selected()) callbacks_.copy(*index, format);
}

std::optional<std::size_t> THistoryPage::Partner() const {
    const auto selected = Selected();
    if (!selected) return std::nullopt;
    const auto& entries = history_.Entries();
    if (partner_) {
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].rgb == *partner_ && i != *selected) return i;
    }
    // By default the newest entry besides the selected one: the two newest at first.
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (i != *selected) return i;
    return std::nullopt;
}

void THistoryPage::CompareWith(std::size_t index) {
    if (index >= history_.Size()) return;
    partner_ = history_.Entries()[index].rgb;
    UpdateTexts();
}

void THistoryPage::ShowMenu(std::size_t index, POINT at) {
    if (index >= history_.Size()) return;
    menuTarget_ = index;
    win::Menu menu(CreatePopupMenu());
    if (!menu) return;
    for (int i = 0; i < 6; ++i)
        AppendMenuW(menu.Get(), MF_STRING,
                    static_cast<UINT_PTR>(CopyAs0) + static_cast<UINT_PTR>(i),
                    (std::wstring(L"Copy as ") + FormatCaptions[i]).c_str());
    AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.Get(), MF_STRING, CmdPin,
                history_.Entries()[index].pinned ? L"Unpin" : L"Pin");
    AppendMenuW(menu.Get(), MF_STRING, CmdRemove, L"Remove");
    AppendMenuW(menu.Get(), MF_STRING, CmdClear, L"Clear all not pinned");
    AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    const auto selected = Selected();
    AppendMenuW(menu.Get(), MF_STRING | (selected && *selected == index ? MF_GRAYED : 0),
                CmdCompare, L"Compare with selected");
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                       at.x, at.y, 0, swatches_->Handle(), nullptr));
    if (command) Command(static_cast<int>(command), 0);
    menuTarget_.reset();
}

bool THistoryPage::Command(int controlId, int code) {
    if (controlId == ExportId) {
        if (code == BN_CLICKED) callbacks_.exportList();
        return true;
    }
    // Commands from the menu act on its entry; Delete on the selected one.
    const std::size_t target = menuTarget_.value_or(selected_);
    if (controlId >= CopyAs0 && controlId < CopyAs0 + 6) {
        if (target < history_.Size()) callbacks_.copy(target, controlId - CopyAs0);
        return true;
    }
    bool changed = false;
    switch (controlId) {
        case CmdPin:
            if (target < history_.Size())
                changed = history_.SetPinned(target, !history_.Entries()[target].pinned);
            break;
        case CmdRemove:
            changed = history_.Remove(target);
            if (changed && selected_ > 0 && selected_ >= history_.Size()) --selected_;
            break;
        case CmdClear:
            history_.ClearUnpinned();
            selected_ = 0;
            changed = true;
            break;
        case CmdCompare:
            CompareWith(target);
            return true;
        default:
            return false;
    }
    if (changed) {
        UpdateTexts();
        callbacks_.changed();
    }
    return true;
}

void THistoryPage::UpdateTexts() {
    if (swatches_->Handle()) InvalidateRect(swatches_->Handle(), nullptr, FALSE);
    if (!values_) return;
    const auto selected = Selected();
    std::wstring values, contrast;
    if (selected) {
        const std::uint32_t rgb = history_.Entries()[*selected].rgb;
        // The six formats two by two, as the Clipboard page lists them, then HSL.
        for (int i = 0; i < 6; i += 2)
            values +=
                callbacks_.formatText(i, rgb) + L"   " + callbacks_.formatText(i + 1, rgb) + L"\n";
        const colors::Hsl hsl = colors::RgbToHsl(colors::TripleOf(rgb));
        values += L"HSL " + std::to_wstring(hsl.h) + L", " + std::to_wstring(hsl.s) + L"%, " +
                  std::to_wstring(hsl.l) + L"%";
        if (const auto partner = Partner()) {
            const int h = colors::ContrastHundredths(colors::ContrastRatio(
                colors::TripleOf(rgb), colors::TripleOf(history_.Entries()[*partner].rgb)));
            contrast = L"Contrast: " + colors::ContrastText(h) + L"\n" +
                       colors::VerdictText(colors::Judge(h));
        }
    }
    win::SetTextIfChanged(values_, values);
    win::SetTextIfChanged(contrast_, contrast);
}
