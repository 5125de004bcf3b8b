#include "colors/HistoryPage.h"

#include <algorithm>

// clang-format off
#include "win/Platform.h"
#include <windowsx.h>
// clang-format on

#include "access/ListAccessible.h"
#include "access/Names.h"
#include "colors/ColorTemplate.h"
#include "colors/Contrast.h"
#include "colors/SwatchGrid.h"
#include "win/Controls.h"
#include "win/DpiScale.h"
#include "win/Gdi.h"
#include "win/Handle.h"
#include "win/Hints.h"

namespace {
// A cell's side at 96 DPI: 20 pixels of colour in a ring for the selection's frames, large enough
// to see a colour and to hit it (the smallest target size the web's accessibility guidelines
// accept without spacing, 24 pixels).
constexpr int CellSide = 24, CellMargin = 2;
constexpr int SwatchesId = 1870, ValuesId = 1871, ContrastId = 1872, ExportId = 1873;
const wchar_t* const FormatCaptions[] = {L"RGB space", L"RGB comma",  L"#HEX",
                                         L"HEX",       L"CMYK space", L"CMYK comma"};

RECT ToRect(const geo::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
}  // namespace

// The swatches: one cell per entry, newest first, row by row, scrolled by rows when they do not
// all fit. The selection has a double frame (dotted while it has the focus), the contrast partner
// a single one, a pin a corner mark. A screen reader finds a list of the entries, each named by
// its colour and whether it is pinned.
class THistorySwatches : public win::PaintedWindow, private a11y::ListItems {
  public:
    explicit THistorySwatches(THistoryPage& page) : page_(page) {}
    void Place(HWND parent, const RECT& bounds, int dpi) {
        cell_ = dpi::Scale(CellSide, dpi);
        margin_ = dpi::Scale(CellMargin, dpi);
        if (!Handle()) {
            RegisterClass(L"THistorySwatches", CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW));
            Create(WS_EX_CLIENTEDGE, L"THistorySwatches", L"History",
                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL, bounds.left, bounds.top,
                   bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                   reinterpret_cast<HMENU>(SwatchesId));
            access_ = std::make_unique<a11y::ListAccessible>(Handle(),
                                                             static_cast<a11y::ListItems&>(*this));
        } else {
            win::Place(Handle(), bounds);
        }
        Refresh();
    }
    // After the entries or the selection changed: the selection in view, the scroll bar, the
    // picture and what screen readers hear.
    void Refresh() {
        if (!Handle()) return;
        const colors::SwatchGrid grid = Grid();
        const std::size_t count = page_.Entries().size();
        if (const auto selected = page_.Selected()) top_ = grid.TopShowing(*selected, top_);
        top_ = std::clamp(top_, 0, grid.MaxTop(count));
        UpdateBar(grid, count);
        InvalidateRect(Handle(), nullptr, FALSE);
        if (access_) access_->Refresh();
    }
    std::optional<std::size_t> At(POINT client) const {
        return Grid().At({client.x, client.y}, top_, page_.Entries().size());
    }
    RECT CellRect(std::size_t index) const { return ToRect(Grid().CellRect(index, top_)); }

  protected:
    void Paint(HDC dc) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    colors::SwatchGrid Grid() const {
        RECT rc{};
        if (Handle()) GetClientRect(Handle(), &rc);
        return {rc.right, rc.bottom, cell_};
    }
    // The bar stays, greyed while every entry shows, so the columns never change with it.
    void UpdateBar(const colors::SwatchGrid& grid, std::size_t count) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        si.nMax = std::max(0, grid.Rows(count) - 1);
        si.nPage = static_cast<UINT>(grid.VisibleRows());
        si.nPos = top_;
        SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
    }
    void Scroll(int code) {
        const colors::SwatchGrid grid = Grid();
        int top = top_;
        switch (code) {
            case SB_LINEUP:
                --top;
                break;
            case SB_LINEDOWN:
                ++top;
                break;
            case SB_PAGEUP:
                top -= grid.VisibleRows();
                break;
            case SB_PAGEDOWN:
                top += grid.VisibleRows();
                break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: {
                SCROLLINFO si{};
                si.cbSize = sizeof si;
                si.fMask = SIF_TRACKPOS;
                if (!GetScrollInfo(Handle(), SB_VERT, &si)) return;
                top = si.nTrackPos;
                break;
            }
            case SB_TOP:
                top = 0;
                break;
            case SB_BOTTOM:
                top = grid.MaxTop(page_.Entries().size());
                break;
            default:
                return;
        }
        top = std::clamp(top, 0, grid.MaxTop(page_.Entries().size()));
        if (top == top_) return;
        top_ = top;
        SetScrollPos(Handle(), SB_VERT, top_, TRUE);
        InvalidateRect(Handle(), nullptr, FALSE);
    }

    // What a screen reader asks of the list.
    std::size_t ItemCount() const override { return page_.Entries().size(); }
    std::wstring ItemName(std::size_t index) const override {
        return a11y::HistoryEntryName(page_.EntryText(index), page_.Entries()[index].pinned);
    }
    std::optional<std::size_t> SelectedItem() const override { return page_.Selected(); }
    RECT ItemBounds(std::size_t index) const override { return CellRect(index); }
    void SelectItem(std::size_t index) override { page_.Select(index); }
    void DoItemAction(std::size_t index) override {
        page_.Select(index);
        page_.CopySelected(-1);
    }
    std::wstring ItemActionName() const override { return L"Copy"; }

    THistoryPage& page_;
    int cell_ = CellSide, margin_ = CellMargin;
    int top_ = 0;  // the first row shown
    std::unique_ptr<a11y::ListAccessible> access_;
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
        if (cell.bottom <= 0 || cell.top >= rc.bottom) continue;  // scrolled out of view
        RECT swatch = cell;
        InflateRect(&swatch, -margin_, -margin_);
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
        case WM_GETOBJECT: {
            LRESULT answer = 0;
            if (access_ && access_->Answer(wp, lp, answer)) return answer;
            break;
        }
        case WM_SETFOCUS:
            InvalidateRect(Handle(), nullptr, FALSE);
            if (access_) access_->FocusTaken();
            break;
        case WM_KILLFOCUS:
            InvalidateRect(Handle(), nullptr, FALSE);
            break;
        case WM_SIZE:
            Refresh();
            break;
        case WM_VSCROLL:
            Scroll(LOWORD(wp));
            return 0;
        case WM_LBUTTONDOWN: {
            SetFocus(Handle());
            // A click copies the colour in the chosen format.
            if (auto index = At({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)})) {
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
                index = At(client);
            }
            if (index) page_.ShowMenu(*index, at);
            return 0;
        }
        case WM_KEYDOWN: {
            const auto selected = page_.Selected();
            if (!selected) break;
            long long to = static_cast<long long>(*selected);
            const colors::SwatchGrid grid = Grid();
            const long long columns = grid.Columns();
            switch (wp) {
                case VK_LEFT:
                    --to;
                    break;
                case VK_RIGHT:
                    ++to;
                    break;
                case VK_UP:
                    to -= columns;
                    break;
                case VK_DOWN:
                    to += columns;
                    break;
                case VK_PRIOR:  // a page of rows, stopping at the first entry
                    to = std::max(0LL, to - columns * grid.VisibleRows());
                    break;
                case VK_NEXT:
                    to = std::min(static_cast<long long>(count) - 1,
                                  to + columns * grid.VisibleRows());
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
    swatches_->Place(page, box(4, 4, 124, 100), dpi);
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

std::vector<THistoryPage::MenuItem> THistoryPage::MenuItems(std::size_t index) const {
    std::vector<MenuItem> items;
    if (index >= history_.Size()) return items;
    for (int i = 0; i < 6; ++i)
        items.push_back({CopyAs0 + i, std::wstring(L"Copy as ") + FormatCaptions[i], true});
    items.push_back({});
    // At the limit the item says why it is greyed, rather than refusing without a word.
    const bool pinned = history_.Entries()[index].pinned;
    const bool full = history_.PinnedCount() >= colors::ColorHistory::MaxPinned;
    if (pinned)
        items.push_back({CmdPin, L"Unpin", true});
    else if (full)
        items.push_back({CmdPin,
                         L"Pin (" + std::to_wstring(colors::ColorHistory::MaxPinned) +
                             L" are pinned, the most kept)",
                         false});
    else
        items.push_back({CmdPin, L"Pin", true});
    items.push_back({CmdRemove, L"Remove", true});
    items.push_back({CmdClear, L"Clear all not pinned", true});
    items.push_back({});
    const auto selected = Selected();
    items.push_back({CmdCompare, L"Compare with selected", !selected || *selected != index});
    return items;
}

void THistoryPage::ShowMenu(std::size_t index, POINT at) {
    if (index >= history_.Size()) return;
    menuTarget_ = index;
    win::Menu menu(CreatePopupMenu());
    if (!menu) return;
    for (const MenuItem& item : MenuItems(index)) {
        const BOOL added = item.id == 0
                               ? AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr)
                               : AppendMenuW(menu.Get(), MF_STRING | (item.enabled ? 0 : MF_GRAYED),
                                             static_cast<UINT_PTR>(item.id), item.text.c_str());
        if (!added) return;
    }
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

std::wstring THistoryPage::EntryText(std::size_t index) const {
    return callbacks_.formatText(-1, history_.Entries()[index].rgb);
}

void THistoryPage::UpdateTexts() {
    swatches_->Refresh();
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
