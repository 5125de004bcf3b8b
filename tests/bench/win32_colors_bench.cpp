// Average sampling against one pixel in the sampling tick, and the History page opened full.
#include <cstdio>

#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "tests/bench/BenchUtil.h"
#include "win/Controls.h"

namespace {
// As the user's choice and click make them: the sample size, a page opened and painted.
void ChooseSample(TTintsnatch4& form, int index) {
    SendMessageW(win::FindControl(form.Handle(), id::cbSample), CB_SETCURSEL,
                 static_cast<WPARAM>(index), 0);
    form.cbSampleChange();
}
void OpenPage(TTintsnatch4& form, int index) {
    HWND tabs = win::FindControl(form.Handle(), id::Properties);
    TabCtrl_SetCurSel(tabs, index);
    NMHDR hdr{tabs, static_cast<UINT_PTR>(id::Properties), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(form.Handle(), WM_NOTIFY, id::Properties, reinterpret_cast<LPARAM>(&hdr));
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
}  // namespace

void RunColorsBenchmarks() {
    std::printf("\nAverage sampling and the History page\n");
    TTintsnatch4 form;
    form.CreateForm();
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    int step = 0;
    auto moved = [&] {
        step = (step + 1) % 50;
        SetCursorPos(100 + step * 3, 100 + step);
        form.Timer1Timer();
    };
    auto still = [&] { form.Timer1Timer(); };
    ChooseSample(form, 3);
    const bench::Pair movedNine = bench::Compare(moved, still);
    ChooseSample(form, 0);
    const bench::Pair movedOne = bench::Compare(moved, still);
    bench::Row("tick at 9 x 9, cursor moved", {movedNine.subject, movedOne.subject},
               "tick at 1 pixel, cursor moved");
    bench::Row("tick at 9 x 9, cursor still", {movedNine.baseline, movedOne.baseline},
               "tick at 1 pixel, cursor still");

    // 64 pinned and 32 more: every entry the history keeps. Removed again at the end.
    THistoryPage& page = *form.HistoryPage();
    for (std::uint32_t c = 0; c < colors::ColorHistory::MaxEntries; ++c) {
        form.RememberColor(c * 0x020305);
        if (c < colors::ColorHistory::MaxPinned) (void)page.Command(THistoryPage::CmdPin, 0);
    }
    form.Options1Click();
    auto open = [&](int index) {
        return [&form, index] {
            OpenPage(form, index);
            OpenPage(form, page::Misc);
        };
    };
    bench::Row("History page, 96 entries, opened",
               bench::Compare(open(page::History), open(page::About)), "About page opened");
    while (form.History().Size()) (void)page.Command(THistoryPage::CmdRemove, 0);
}
