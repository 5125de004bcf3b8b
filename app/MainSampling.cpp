// The main window's sampling: the timer, the tick with its views and readouts, following the
// cursor, the pace, and the session's lock and unlock.
#include <cstdint>
#include <optional>
#include <utility>

#include "app/ControlIds.h"
#include "app/FollowPlacement.h"
#include "app/SessionEvents.h"
#include "app/TintsnatchMain.h"
#include "colors/BlockAverage.h"
#include "win/Application.h"
#include "win/ErrorReport.h"
// After the platform header, which it needs.
#include <wtsapi32.h>

// The component headers are included where their types are complete.
#include "app/Components.h"

// ---------------------------------------------------------------------------------------------
// Sampling timer

void TSamplingTimer::Create(std::function<void()> onTimer, std::function<void()> onMouse) {
    onTimer_ = std::move(onTimer);
    onMouse_ = std::move(onMouse);
    RegisterClass(L"TSamplingTimer");
    Window::Create(0, L"TSamplingTimer", L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

void TSamplingTimer::Start(UINT intervalMs) {
    if (!SetTimer(Handle(), timer::Timer1, intervalMs, nullptr))
        throw win::Error(L"Cannot start the sampling timer");
}

void TSamplingTimer::Stop() {
    if (Handle()) KillTimer(Handle(), timer::Timer1);
}

bool TSamplingTimer::ListenToMouse(bool listen) {
    if (listen == listening_ || !Handle()) return listen == listening_;
    RAWINPUTDEVICE mouse{};
    mouse.usUsagePage = 0x01;  // generic desktop controls
    mouse.usUsage = 0x02;      // mouse
    mouse.dwFlags = listen ? RIDEV_INPUTSINK : RIDEV_REMOVE;
    mouse.hwndTarget = listen ? Handle() : nullptr;
    if (!RegisterRawInputDevices(&mouse, 1, sizeof mouse)) return false;
    listening_ = listen;
    return true;
}

LRESULT TSamplingTimer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == timer::Timer1) {
        if (onTimer_) onTimer_();
        return 0;
    }
    if (msg == WM_INPUT && listening_ && onMouse_) onMouse_();  // the platform still cleans up
    if (msg == WM_DESTROY) ListenToMouse(false);
    return Window::HandleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------------------------------------
// Views and the sampling tick

void TTintsnatch4::CenterOnScreen() {
    grownFrom_.reset();
    SIZE s = win::OuterSize(Handle());
    int left = GetSystemMetrics(SM_CXSCREEN) / 2 - s.cx / 2;
    int top = GetSystemMetrics(SM_CYSCREEN) / 2 - s.cy / 2;
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A tick that finds the same cursor, pixel and view costs one cursor read and one pixel read; the
// rest is compared with what was last set, in memory. The visibility and size checks read the
// window's own state in this process and change it only when it differs.
void TTintsnatch4::Timer1Timer() {
    using View = SamplerPace::View;
    if (win::Application().IsMinimized() || win::IsShown(CapturePanel.Handle())) {
        PaceTimer({View::Paused});
        return;
    }
    UpdateCaption();
    POINT p;
    // Refused while the session is locked, a secure desktop (a UAC prompt) has the input or a
    // remote session is cut off: nothing changed, so the pace comes to rest until it ends.
    if (!GetCursorPos(&p)) {
        const int interval = pace_.ObserveUnreadable(GetTickCount64());
        if (sampling_) ApplyPace(interval);
        return;
    }
    RECT wr;
    GetWindowRect(Handle(), &wr);
    // A hidden window is under no cursor: a copy while hidden takes the colour where the cursor
    // is now, also where the window was. Hidden is when sampling stopped for the hide: the show
    // runs its first tick before the window is visible.
    if (sampling_) {
        const bool compact = win::IsShown(ColorZoomPanel.Handle());
        const auto verdict = hoverGate_.Decide(PtInRect(&wr, p) != FALSE,
                                               followMode_ && compact && !options1Checked_,
                                               GetTickCount64(), HoverTime());
        if (verdict == follow::HoverGate::Verdict::Hold) {
            // Outrun by the cursor: held where it is, and what it shows of itself is not sampled.
            PaceTimer({View::Compact, p.x, p.y, sampledColor_});
            return;
        }
        if (verdict == follow::HoverGate::Verdict::Open || options1Checked_) {
            ShowOptions();
            win::SetVisible(ColorZoomPanel.Handle(), false);
            GrowView();
            PaceTimer({View::Options, p.x, p.y});
            return;
        }
        ShrinkView(wr);
        HideOptions();
        win::SetVisible(ColorZoomPanel.Handle(), true);
    }

    const COLORREF color = SampleAt(p);
    // While the session is locked, switched or disconnected the screen cannot be read: the
    // readouts keep the last colour they showed instead of an invalid one.
    const bool readable = color != CLR_INVALID;
    if (readable &&
        (!sampled_ || sampled_->x != p.x || sampled_->y != p.y || sampledColor_ != color)) {
        RgbTriple rgb = SplitColor(color);
        SetReadouts(ReadoutsFor(rgb, p.x, p.y));
        readouts_.TintColor.SetColor(RGB(rgb.rgbtRed, rgb.rgbtGreen, rgb.rgbtBlue));
        sampled_ = p;
        sampledColor_ = color;
    }

    if (followMode_) FollowCursor(p, wr);
    PaceTimer({View::Compact, p.x, p.y, color});
}

std::uint32_t TTintsnatch4::HoverTime() {
    UINT ms = 400;  // the system's default
    (void)SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &ms, 0);
    return ms;
}

// While the cursor moves, the magnifier beside the readouts reads the screen round it each tick:
// the cursor's pixel, or its block, is taken from that same read, so a tick reads the screen once,
// not twice. A still cursor draws nothing, and its pixel or block is read on its own.
COLORREF TTintsnatch4::SampleAt(POINT p) {
    COLORREF color = CLR_INVALID;
    geo::Rect block;
    if (sampleSide_ > 1) {
        const int left = GetSystemMetrics(SM_XVIRTUALSCREEN),
                  top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        block = colors::SampleBlock({p.x, p.y}, sampleSide_,
                                    {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                     top + GetSystemMetrics(SM_CYVIRTUALSCREEN)});
    }
    auto mean = [&](HDC dc, const geo::Rect& area) {
        const auto rgb = blockSampler_.Mean(dc, area);
        return rgb ? RGB(rgb->rgbtRed, rgb->rgbtGreen, rgb->rgbtBlue) : CLR_INVALID;
    };
    const bool shared = JvZoom1 && JvZoom1->DrawFor(p, [&](HDC copy, POINT at, SIZE size) {
        if (sampleSide_ <= 1) {
            color = ReadPixel(copy, at.x, at.y);
            return;
        }
        // The block in the copy, when the copy holds all of it (a low zoom level reads less).
        const geo::Rect in = block.Moved({at.x - p.x, at.y - p.y});
        if (in.left >= 0 && in.top >= 0 && in.right <= size.cx && in.bottom <= size.cy)
            color = mean(copy, in);
    });
    if (!shared || color == CLR_INVALID)
        color = sampleSide_ <= 1 ? ReadPixel(screen_.Get(), p.x, p.y) : mean(screen_.Get(), block);
    return color;
}

void TTintsnatch4::FollowCursor(POINT p, const RECT& window) {
    // Beside the cursor on the cursor's own monitor, so the readout stays visible at its edges.
    // The monitor is asked for again when the cursor leaves it, and twice a second, so a changed
    // layout or work area shows soon.
    const DWORD now = GetTickCount();
    if (!PtInRect(&followMonitor_, p) || now - followAskedAt_ >= 500) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &info)) return;
        followMonitor_ = info.rcMonitor;
        followWork_ = info.rcWork;
        followAskedAt_ = now;
    }
    const RECT& w = followWork_;
    const SIZE size = win::OuterSize(Handle());
    follow::Point to =
        follow::FollowPosition({p.x, p.y}, size.cx, size.cy, {w.left, w.top, w.right, w.bottom},
                               Scaled(FollowOffsetX), Scaled(FollowOffsetY));
    // A move only, every tick while the cursor moves: nothing here needs to hear of it before it
    // happens (no WM_WINDOWPOSCHANGING), and neither the order nor the owner's place changes.
    if (window.left != to.x || window.top != to.y)
        SetWindowPos(
            Handle(), nullptr, to.x, to.y, 0, 0,
            SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
}

// The timer and the magnifiers follow the pace: full rate while anything changes, resting once
// the cursor and its pixel have stood still for a while. Set only when the pace changes.
void TTintsnatch4::PaceTimer(const SamplerPace::Observation& seen) {
    const int interval = pace_.Observe(GetTickCount64(), seen);
    if (sampling_) ApplyPace(interval);
    // Screen readers hear of new values once they settle, not at every tick.
    RaiseNameChangesAtRest();
}

void TTintsnatch4::ApplyPace(int interval) {
    if (interval == timerInterval_) return;
    timerInterval_ = interval;
    Timer1.Start(static_cast<UINT>(interval));
    for (TJvZoom* zoom : {JvZoom1.get(), JvZoom2.get()})
        if (zoom) zoom->SetResting(pace_.Resting());
    // Only while resting: while the mouse moves every movement would be a message for us.
    (void)Timer1.ListenToMouse(pace_.Listening());
}

void TTintsnatch4::WakeSampler() {
    if (!sampling_ || !pace_.Resting()) return;
    // The tick first, so the readouts show the movement before the magnifiers wake and draw; the
    // tick then sets the full rate, whatever it saw.
    pace_.Wake(GetTickCount64());
    Timer1Timer();
}

void TTintsnatch4::StopSampling() {
    resumeOnReturn_ = false;
    if (!sampling_) return;
    sampling_ = false;
    nameRest_.Reset();
    Timer1.Stop();
    (void)Timer1.ListenToMouse(false);
    // The magnifiers park themselves once they find the window hidden.
}

void TTintsnatch4::ResumeSampling() {
    if (sessionAway_) {
        resumeOnReturn_ = true;  // nothing can be read until the session is back
        return;
    }
    if (!sampling_) {
        sampling_ = true;
        pace_.Reset();
        timerInterval_ = pace_.Interval();
        Timer1.Start(static_cast<UINT>(timerInterval_));
        for (TJvZoom* zoom : {JvZoom1.get(), JvZoom2.get()})
            if (zoom) zoom->SetResting(false);
    }
    // Before the window is painted: it shows where and as the tick puts it, not where it was.
    Timer1Timer();
}

void TTintsnatch4::SessionChange(WPARAM event, LPARAM eventSession) {
    static_assert(WTS_CONSOLE_CONNECT == 1 && WTS_CONSOLE_DISCONNECT == 2 &&
                  WTS_REMOTE_CONNECT == 3 && WTS_REMOTE_DISCONNECT == 4 && WTS_SESSION_LOCK == 7 &&
                  WTS_SESSION_UNLOCK == 8);
    // The session is the process's for its whole life; asked once.
    static const std::optional<std::uint32_t> own = []() -> std::optional<std::uint32_t> {
        DWORD id = 0;
        if (!ProcessIdToSessionId(GetCurrentProcessId(), &id)) return std::nullopt;
        return id;
    }();
    switch (session::Classify(event, static_cast<std::uint32_t>(eventSession), own)) {
        case session::Change::Away: {
            if (sessionAway_) return;
            const bool wasSampling = sampling_;
            StopSampling();
            // Visible all the while, the magnifiers would go on drawing a screen no one sees.
            for (TJvZoom* zoom : {JvZoom1.get(), JvZoom2.get()})
                if (zoom) zoom->SetResting(true);
            sessionAway_ = true;
            resumeOnReturn_ = wasSampling;
            return;
        }
        case session::Change::Back:
            if (!sessionAway_) return;
            sessionAway_ = false;
            RenewScreen();
            if (std::exchange(resumeOnReturn_, false)) ResumeSampling();
            return;
        case session::Change::None:
            return;
    }
}

void TTintsnatch4::RenewScreen() {
    // A device context held across a lock, a reconnect or a display change may no longer read
    // the screen the session shows now.
    gdi::WindowDC fresh(nullptr);
    if (fresh) screen_ = std::move(fresh);
    for (TJvZoom* zoom : {JvZoom1.get(), JvZoom2.get()})
        if (zoom) zoom->RenewScreen();
    sampled_.reset();  // the current readout at the next tick, even for the same pixel
}

// The tick is the readouts' only writer, so what it set last is what they show.
void TTintsnatch4::SetReadouts(const Readouts& r) {
    const std::pair<win::Readout*, const std::wstring Readouts::*> labels[] = {
        {&readouts_.ColR, &Readouts::ColR},        {&readouts_.ColG, &Readouts::ColG},
        {&readouts_.ColB, &Readouts::ColB},        {&readouts_.ColHex, &Readouts::ColHex},
        {&readouts_.ColC, &Readouts::ColC},        {&readouts_.ColM, &Readouts::ColM},
        {&readouts_.ColY, &Readouts::ColY},        {&readouts_.ColK, &Readouts::ColK},
        {&readouts_.Position, &Readouts::Position}};
    for (const auto& [label, text] : labels)
        if (r.*text != shownReadouts_.*text) win::SetText(label->Handle(), r.*text);
    shownReadouts_ = r;
}

Readouts TTintsnatch4::CurrentReadouts() const {
    Readouts r;
    r.ColR = win::GetText(readouts_.ColR.Handle());
    r.ColG = win::GetText(readouts_.ColG.Handle());
    r.ColB = win::GetText(readouts_.ColB.Handle());
    r.ColHex = win::GetText(readouts_.ColHex.Handle());
    r.ColC = win::GetText(readouts_.ColC.Handle());
    r.ColM = win::GetText(readouts_.ColM.Handle());
    r.ColY = win::GetText(readouts_.ColY.Handle());
    r.ColK = win::GetText(readouts_.ColK.Handle());
    r.Position = win::GetText(readouts_.Position.Handle());
    return r;
}
