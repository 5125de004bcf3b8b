#pragma once
// The colours the user copied, newest first, with the pinned ones (favourites) that are never
// pushed out; its text in the settings file; and the palette and text files it is exported to.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ColorLibrary.h"

namespace colors {

struct HistoryEntry {
    std::uint32_t rgb = 0;  // 0xRRGGBB
    bool pinned = false;
    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

RgbTriple TripleOf(std::uint32_t rgb);
std::uint32_t RgbOf(RgbTriple t);

class ColorHistory {
  public:
    static constexpr std::size_t MaxRecent = 32;  // entries not pinned
    static constexpr std::size_t MaxPinned = 64;
    static constexpr std::size_t MaxEntries = MaxRecent + MaxPinned;

    const std::vector<HistoryEntry>& Entries() const { return entries_; }
    std::size_t Size() const { return entries_.size(); }
    // At the front; a colour already there moves to the front and keeps its pin. Beyond MaxRecent
    // entries not pinned, the oldest of them goes.
    void Add(std::uint32_t rgb);
    // False when the index is out of range, or for a pin beyond MaxPinned.
    bool SetPinned(std::size_t index, bool pinned);
    bool Remove(std::size_t index);
    // Removes every entry that is not pinned.
    void ClearUnpinned();
    std::size_t PinnedCount() const;
    friend bool operator==(const ColorHistory&, const ColorHistory&) = default;

    // The settings file's value: "FF8000,123456*,..." newest first, * marking a pin; well under
    // the 2047 characters the file's reader takes.
    std::wstring Text() const;
    // Reads the value back. What is not a colour (a broken or hand-edited item, one with a NUL in
    // it) is skipped and the rest kept; a colour seen before is skipped; the limits hold as for
    // Add. The whole text is read, however long (a hand-edited file), until the history is full:
    // good entries after any number of broken ones are kept, not lost at the next save.
    static ColorHistory FromText(std::wstring_view text);

  private:
    // Beyond MaxRecent unpinned entries, the oldest go.
    void DropOldestRecent();

    std::vector<HistoryEntry> entries_;
};

// A GIMP palette (.gpl) of the entries, newest first, each named by its hexadecimal text; lines
// end in LF.
std::string GimpPalette(const std::vector<HistoryEntry>& entries);
// One line per entry, the text `format` gives for it, in UTF-8 with Windows line ends.
std::string TextLines(const std::vector<HistoryEntry>& entries,
                      const std::function<std::wstring(const HistoryEntry&)>& format);

}  // namespace colors
