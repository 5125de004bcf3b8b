// The colour history: newest first, a copy already there moves to the front, pins are never
// pushed out; its settings text read back with the broken items among it skipped; its export.
#include <gtest/gtest.h>

#include "colors/ColorHistory.h"
#include "colors/HistoryStore.h"
#include "tests/unit/settings_fakes.h"

using colors::ColorHistory;
using colors::HistoryEntry;

TEST(ColorHistory, NewestFirstMovesRepeatsAndKeepsPinsBeyondTheLimit) {
    ColorHistory h;
    h.Add(0x111111);
    h.Add(0x222222);
    ASSERT_TRUE(h.SetPinned(1, true));  // 0x111111
    for (std::uint32_t c = 1; c <= ColorHistory::MaxRecent; ++c) h.Add(c);
    ASSERT_EQ(h.Size(), ColorHistory::MaxRecent + 1);
    EXPECT_EQ(h.Entries().back(), (HistoryEntry{0x111111, true})) << "the pin outlives 32 copies";
    h.Add(0x111111);
    EXPECT_EQ(h.Entries().front(), (HistoryEntry{0x111111, true})) << "moved, still pinned";
    EXPECT_EQ(h.Size(), ColorHistory::MaxRecent + 1);

    for (std::uint32_t c = 1; c < ColorHistory::MaxPinned; ++c) {
        h.Add(0x100 + c);
        ASSERT_TRUE(h.SetPinned(0, true));
    }
    h.Add(0x999999);
    EXPECT_FALSE(h.SetPinned(0, true)) << "64 pins at most";
    EXPECT_EQ(h.Size(), ColorHistory::MaxPinned + ColorHistory::MaxRecent);
    h.ClearUnpinned();
    EXPECT_EQ(h.Size(), ColorHistory::MaxPinned);
    EXPECT_FALSE(h.Remove(h.Size()));
}

TEST(ColorHistory, TextRoundTripSkipsBrokenItemsAndKeepsTheGoodOnes) {
    const ColorHistory h = ColorHistory::FromText(
        L" #ff8000 ,zzzzzz,123456*,12345,ABCDEF,FF8000,1234567,, 00000g ,000000*");
    ASSERT_EQ(h.Size(), 4u);
    EXPECT_EQ(h.Text(), L"FF8000,123456*,ABCDEF,000000*");
    EXPECT_EQ(ColorHistory::FromText(h.Text()), h);
    // A huge value is read only to its bounded head.
    std::wstring huge;
    for (int i = 0; i < 100000; ++i) huge += L"C0FFEE,";
    EXPECT_EQ(ColorHistory::FromText(huge).Size(), 1u);
}

TEST(ColorHistory, ExportsAGimpPaletteAndTextLines) {
    ColorHistory h;
    h.Add(0x0A0B0C);
    h.Add(0xFF8000);
    EXPECT_EQ(colors::GimpPalette(h.Entries()),
              "GIMP Palette\nName: Tintsnatch 4 history\nColumns: 8\n#\n"
              "255 128   0\tFF8000\n 10  11  12\t0A0B0C\n");
    EXPECT_EQ(colors::TextLines(h.Entries(), [](const HistoryEntry&) { return L"\u20ac"; }),
              "\xe2\x82\xac\r\n\xe2\x82\xac\r\n");
}

TEST(ColorHistory, StoreWritesItsOwnSectionOnlyWhenTheFileHoldsSomethingElse) {
    fakes::ProfileFile files;
    const std::wstring path = L"C:\\app\\Tintsnatch4.ini";
    files.Load(path,
               L"[TTintsnatch4]\nZoomSlider_Position=15\n"
               L"[TTintsnatch4.History]\nColors=FF8000,junk,123456*\n");
    colors::HistoryStore store(files);
    ColorHistory h = store.Load(path);
    ASSERT_EQ(h.Text(), L"FF8000,123456*");
    store.Save(path, ColorHistory{});  // the user cleared it
    EXPECT_EQ(files.writes, std::vector<std::wstring>{L"Colors="});
    store.Save(path, h);
    store.Save(path, h);  // the file holds it now: no second write
    EXPECT_EQ(files.writes.back(), L"Colors=FF8000,123456*");
    EXPECT_EQ(files.writes.size(), 2u);
    EXPECT_EQ(files.Lines(path, L"TTintsnatch4").size(), 1u) << "the main section untouched";

    fakes::ProfileFile fresh;
    colors::HistoryStore(fresh).Save(path, ColorHistory{});
    EXPECT_TRUE(fresh.writes.empty()) << "no history, no section";
}
