// The History page on the real window: its menu's commands, its keys and its export act on the
// entry chosen there, and the contrast follows the pair shown.
#include <gtest/gtest.h>

#include "app/Components.h"
#include "app/ControlIds.h"
#include "tests/support/TestSupport.h"
#include "tests/win32/CaptureTestWindows.h"
#include "tests/win32/MainWindowFixture.h"

using capture_test::FileBytes;
using capture_test::TempPath;

namespace {
constexpr int SwatchesId = 1870, ContrastId = 1872;
}  // namespace

class HistoryPage : public MainWindowFixture {
  protected:
    THistoryPage& page() { return *form.HistoryPage(); }
    void SetUp() override {
        MainWindowFixture::SetUp();
        // What earlier runs left in the settings file beside the test program goes first.
        while (form.History().Size()) ASSERT_TRUE(page().Command(THistoryPage::CmdRemove, 0));
    }
    std::wstring Contrast() { return win::GetText(Control(ContrastId)); }
};

TEST_F(HistoryPage, CommandsKeysContrastAndExportActOnTheChosenEntry) {
    for (std::uint32_t rgb : {0x0000FFu, 0xFFFFFFu, 0x000000u}) form.RememberColor(rgb);
    // The two newest: black and white.
    EXPECT_EQ(Contrast().substr(0, 41), L"Contrast: 21.00:1\nText: AA pass, AAA pass");
    page().CompareWith(2);  // black against blue: 2.44
    EXPECT_EQ(Contrast().substr(0, 41), L"Contrast: 2.44:1\nText: AA fail, AAA fail\n");

    page().Select(2);
    ASSERT_TRUE(page().Command(THistoryPage::CopyAs0 + 2, 0));
    EXPECT_EQ(testsupport::ClipboardText(), L"#0000FF");
    ASSERT_TRUE(page().Command(THistoryPage::CmdPin, 0));
    ASSERT_TRUE(page().Command(THistoryPage::CmdClear, 0));
    ASSERT_EQ(form.History().Size(), 1u) << "the pinned entry stays";

    form.RememberColor(0x123456);
    SetFocus(Control(SwatchesId));
    form.EditCopy1Execute(nullptr);  // Ctrl+C on the page: the selected entry, chosen format
    EXPECT_EQ(testsupport::ClipboardText(), L"18 52 86");

    const std::wstring palette = TempPath(L"ts-history.gpl"), text = TempPath(L"ts-history.txt");
    form.ExportHistory(palette);
    EXPECT_EQ(FileBytes(palette).substr(0, 13), "GIMP Palette\n");
    form.ExportHistory(text);
    EXPECT_EQ(FileBytes(text), "18 52 86\r\n0 0 255\r\n");
    DeleteFileW(palette.c_str());
    DeleteFileW(text.c_str());

    SendMessageW(Control(SwatchesId), WM_KEYDOWN, VK_DELETE, 0);
    SendMessageW(Control(SwatchesId), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(form.History().Size(), 0u);
}

TEST_F(HistoryPage, TheSixtyFifthPinIsGreyedWithItsReasonInTheMenu) {
    auto pinItem = [&](std::size_t index) {
        for (const auto& item : page().MenuItems(index))
            if (item.id == THistoryPage::CmdPin) return item;
        return THistoryPage::MenuItem{};
    };
    for (std::uint32_t rgb = 1; rgb <= 64; ++rgb) {
        form.RememberColor(rgb);  // the newest, selected
        ASSERT_TRUE(pinItem(0).enabled);
        ASSERT_TRUE(page().Command(THistoryPage::CmdPin, 0));
    }
    form.RememberColor(0xABCDEF);
    const auto full = pinItem(0);
    EXPECT_FALSE(full.enabled);
    EXPECT_EQ(full.text, L"Pin (64 are pinned, the most kept)");
    EXPECT_EQ(pinItem(1).text, L"Unpin");
    EXPECT_TRUE(pinItem(1).enabled) << "a pinned one can still be unpinned";
}
