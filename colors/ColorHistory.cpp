#include "colors/ColorHistory.h"

#include <algorithm>
#include <cstdio>

namespace colors {

RgbTriple TripleOf(std::uint32_t rgb) {
    return {static_cast<std::uint8_t>(rgb), static_cast<std::uint8_t>(rgb >> 8),
            static_cast<std::uint8_t>(rgb >> 16)};
}

std::uint32_t RgbOf(RgbTriple t) {
    return std::uint32_t{t.rgbtRed} << 16 | std::uint32_t{t.rgbtGreen} << 8 | t.rgbtBlue;
}

void ColorHistory::Add(std::uint32_t rgb) {
    rgb &= 0xFFFFFF;
    bool pinned = false;
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [rgb](const HistoryEntry& e) { return e.rgb == rgb; });
    if (found != entries_.end()) {
        pinned = found->pinned;
        entries_.erase(found);
    }
    entries_.insert(entries_.begin(), HistoryEntry{rgb, pinned});
    DropOldestRecent();
}

void ColorHistory::DropOldestRecent() {
    std::size_t recent = 0;
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (!it->pinned && ++recent > MaxRecent)
            it = entries_.erase(it);
        else
            ++it;
    }
}

std::size_t ColorHistory::PinnedCount() const {
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(), [](const auto& e) { return e.pinned; }));
}

bool ColorHistory::SetPinned(std::size_t index, bool pinned) {
    if (index >= entries_.size()) return false;
    if (pinned && !entries_[index].pinned && PinnedCount() >= MaxPinned) return false;
    entries_[index].pinned = pinned;
    // Unpinned, it counts among the recent ones again: the oldest beyond the limit goes.
    if (!pinned) DropOldestRecent();
    return true;
}

bool ColorHistory::Remove(std::size_t index) {
    if (index >= entries_.size()) return false;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void ColorHistory::ClearUnpinned() {
    std::erase_if(entries_, [](const HistoryEntry& e) { return !e.pinned; });
}

std::wstring ColorHistory::Text() const {
    std::wstring text;
    for (const HistoryEntry& e : entries_) {
        if (!text.empty()) text += L',';
        text += HexText(TripleOf(e.rgb));
        if (e.pinned) text += L'*';
    }
    return text;
}

namespace {
int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t'; }
}  // namespace

ColorHistory ColorHistory::FromText(std::wstring_view text) {
    ColorHistory history;
    std::size_t recent = 0, pinnedCount = 0;
    std::size_t at = 0;
    while (at <= text.size() && history.entries_.size() < MaxEntries) {
        std::size_t end = text.find(L',', at);
        if (end == std::wstring_view::npos) end = text.size();
        std::wstring_view item = text.substr(at, end - at);
        at = end + 1;
        while (!item.empty() && IsSpace(item.front())) item.remove_prefix(1);
        while (!item.empty() && IsSpace(item.back())) item.remove_suffix(1);
        if (!item.empty() && item.front() == L'#') item.remove_prefix(1);
        const bool pinned = !item.empty() && item.back() == L'*';
        if (pinned) item.remove_suffix(1);
        if (item.size() != 6) continue;
        std::uint32_t rgb = 0;
        bool hex = true;
        for (wchar_t c : item) {
            const int d = HexDigit(c);
            if (d < 0) hex = false;
            rgb = rgb << 4 | static_cast<std::uint32_t>(std::max(d, 0));
        }
        if (!hex) continue;
        const bool seen = std::any_of(history.entries_.begin(), history.entries_.end(),
                                      [rgb](const HistoryEntry& e) { return e.rgb == rgb; });
        if (seen) continue;
        if (pinned ? ++pinnedCount > MaxPinned : ++recent > MaxRecent) continue;
        history.entries_.push_back({rgb, pinned});
    }
    return history;
}

std::string GimpPalette(const std::vector<HistoryEntry>& entries) {
    // Line ends are LF only: GIMP's reader keeps a CR as the last character of each name.
    std::string out = "GIMP Palette\nName: Tintsnatch 4 history\nColumns: 8\n#\n";
    for (const HistoryEntry& e : entries) {
        const RgbTriple t = TripleOf(e.rgb);
        char line[48];
        std::snprintf(line, sizeof line, "%3u %3u %3u\t%02X%02X%02X\n", t.rgbtRed, t.rgbtGreen,
                      t.rgbtBlue, t.rgbtRed, t.rgbtGreen, t.rgbtBlue);
        out += line;
    }
    return out;
}

namespace {
void AppendUtf8(std::string& out, const std::wstring& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = static_cast<std::uint16_t>(text[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() &&
            static_cast<std::uint16_t>(text[i + 1]) >= 0xDC00 &&
            static_cast<std::uint16_t>(text[i + 1]) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<std::uint16_t>(text[++i]) - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;  // half a pair stands for nothing
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}
}  // namespace

std::string TextLines(const std::vector<HistoryEntry>& entries,
                      const std::function<std::wstring(const HistoryEntry&)>& format) {
    std::string out;
    for (const HistoryEntry& e : entries) {
        AppendUtf8(out, format(e));
        out += "\r\n";
    }
    return out;
}

}  // namespace colors
