#pragma once
// The "History" page: the kept colours as swatches, the selected one's values, the contrast of
// two of them, and "Export...". The page only shows the history and asks its owner to act:
// the owner holds the history, copies, keeps the file and exports.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "colors/ColorHistory.h"
#include "win/Window.h"

class THistorySwatches;

class THistoryPage {
  public:
    // Menu command IDs of the swatches' menu.
    static constexpr int CopyAs0 = 1850;  // + format index 0..5
    static constexpr int CmdPin = 1860, CmdRemove = 1861, CmdClear = 1862, CmdCompare = 1863;

    struct Callbacks {
        // Copy entry `index` in format `format` (-1: the format chosen on the Clipboard page).
        std::function<void(std::size_t index, int format)> copy;
        // The history was changed here (pin, remove, clear): keep it.
        std::function<void()> changed;
        std::function<void()> exportList;
        // The text of a colour in the six formats' captions, for the values shown (-1: the
        // chosen format, for the entries' names).
        std::function<std::wstring(int format, std::uint32_t rgb)> formatText;
    };

    THistoryPage(colors::ColorHistory& history, Callbacks callbacks);
    ~THistoryPage();
    THistoryPage(const THistoryPage&) = delete;
    THistoryPage& operator=(const THistoryPage&) = delete;

    // Lays the page out in `page` at the DPI, creating the controls the first time. `box` scales
    // a design rectangle (at 96 DPI).
    void Place(HWND page, HFONT font, int dpi, const std::function<RECT(int, int, int, int)>& box,
               SIZE room);
    // The history changed elsewhere (a copy): the newest entry is selected.
    void HistoryChanged();
    // For the swatches and the owner's Ctrl+C: the selected entry.
    std::optional<std::size_t> Selected() const;
    const std::vector<colors::HistoryEntry>& Entries() const;
    // Asks the owner to copy the selected entry (format -1: the chosen one).
    void CopySelected(int format);
    void Select(std::size_t index);
    bool HasFocus() const;
    // Runs a menu command or an "Export..." click; true when it was one of the page's.
    bool Command(int controlId, int code);
    // The menu for entry `index` at the screen point, with these items (id 0: a separator).
    void ShowMenu(std::size_t index, POINT at);
    struct MenuItem {
        int id = 0;
        std::wstring text;
        bool enabled = true;
    };
    std::vector<MenuItem> MenuItems(std::size_t index) const;
    // Entry `index` in the chosen format.
    std::wstring EntryText(std::size_t index) const;
    // The entries whose contrast is shown: the selected one and its partner, by default the
    // newest other entry; CompareWith makes entry `index` the partner.
    std::optional<std::size_t> Partner() const;
    void CompareWith(std::size_t index);
    HWND Swatches() const;

  private:
    void UpdateTexts();
    colors::ColorHistory& history_;
    Callbacks callbacks_;
    std::unique_ptr<THistorySwatches> swatches_;
    HWND values_ = nullptr, contrast_ = nullptr, export_ = nullptr;
    std::size_t selected_ = 0;
    // The partner the user chose, by colour; none gives the newest other than the selection.
    std::optional<std::uint32_t> partner_;
    // While the menu runs: the entry it was opened for.
    std::optional<std::size_t> menuTarget_;
};
