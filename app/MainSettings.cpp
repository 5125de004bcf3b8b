// The main window's settings storage, start-up registration and single-instance check.
#include <algorithm>
#include <utility>

#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "capture/Countdown.h"
#include "capture/OskCapture.h"
#include "capture/RegionProposal.h"
#include "settings/PlacementWin32.h"
#include "settings/ProfileFileWin32.h"
#include "settings/SettingsPlace.h"
#include "settings/SettingsPlaceWin32.h"
#include "settings/SingleInstanceWin32.h"
#include "settings/StartupWin32.h"
#include "win/Application.h"
#include "win/ErrorReport.h"

using settings::PropKind;
using settings::PropValue;

namespace {
// The name by which a stored page reference may name this window ("Tintsnatch4.Keys").
const wchar_t* const FormName = L"Tintsnatch4";

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// The application's own messages: owned by the main window, empty caption, OK only.
void ShowMessage(HWND owner, const std::wstring& text) {
    MessageBoxW(owner, text.c_str(), L"", MB_OK);
}

std::optional<PropValue> CheckedOf(HWND box) { return win::IsChecked(box); }

std::optional<PropValue> PositionOf(HWND track) { return win::TrackPosition(track); }

std::optional<PropValue> HotKeyOf(HWND edit) {
    return static_cast<std::int32_t>(win::HotKeyValue(edit));
}

// A capture minimises the application for a moment. A save meanwhile (a log-off during an
// overlay) stores the state the user had: a minimised tool window has no taskbar button, so a
// start that restored that state would show nothing at all.
class MainPlacementWindow : public settings::Win32PlacementWindow {
  public:
    MainPlacementWindow(HWND hwnd, std::function<bool()> capturing)
        : Win32PlacementWindow(hwnd, settings::StartPosition::ScreenCenter),
          capturing_(std::move(capturing)) {}
    bool ApplicationMinimized() const override {
        return !capturing_() && Win32PlacementWindow::ApplicationMinimized();
    }

  private:
    std::function<bool()> capturing_;
};

void SetHotKey(HWND edit, const PropValue& v) {
    // The control holds a 16-bit word: larger stored numbers keep their low half, as a typed
    // 16-bit property would. Setting it raises no change notification.
    win::SetHotKeyValue(edit, static_cast<std::uint16_t>(std::get<std::int32_t>(v)));
}
}  // namespace

void TTintsnatch4::CreateStorage() {
    using settings::StoredProp;
    auto boolean = [](const wchar_t* name, std::function<std::optional<PropValue>()> get,
                      std::function<void(const PropValue&)> set) {
        return StoredProp{name, PropKind::Boolean, std::move(get), std::move(set), {}};
    };
    // Each setter goes through the control's own rules: sliders and radio groups clamp, and the
    // control's change handler runs only when the value really changed. Each entry keeps where its
    // control is stored and reads the handle at every use.
    auto slider = [this](const wchar_t* name, const HWND& stored, void (TTintsnatch4::*changed)()) {
        const HWND* track = &stored;
        return StoredProp{name,
                          PropKind::Integer,
                          [track] { return PositionOf(*track); },
                          [this, track, changed](const PropValue& v) {
                              if (win::SetTrackPosition(*track, std::get<std::int32_t>(v)))
                                  (this->*changed)();
                          },
                          {}};
    };
    auto hotKey = [](const wchar_t* name, const HWND& stored) {
        const HWND* edit = &stored;
        return StoredProp{name,
                          PropKind::Integer,
                          [edit] { return HotKeyOf(*edit); },
                          [edit](const PropValue& v) { SetHotKey(*edit, v); },
                          {}};
    };
    auto radio = [this](const wchar_t* name, win::RadioGroup& stored,
                        void (TTintsnatch4::*clicked)()) {
        win::RadioGroup* group = &stored;
        return StoredProp{name,
                          PropKind::Integer,
                          [group]() -> std::optional<PropValue> { return group->ItemIndex(); },
                          [this, group, clicked](const PropValue& v) {
                              if (group->SetItemIndex(std::get<std::int32_t>(v)) && clicked)
                                  (this->*clicked)();
                          },
                          {}};
    };

    std::vector<StoredProp> props;
    props.push_back(boolean(
        L"cbGrabIfMin.Checked", [this] { return CheckedOf(misc_.cbGrabIfMin); },
        [this](const PropValue& v) { win::SetChecked(misc_.cbGrabIfMin, std::get<bool>(v)); }));
    // The box mirrors the action RunWinStartUp; a change of its state runs the action.
    props.push_back(boolean(
        L"cbStartUp.Checked",
        [this]() -> std::optional<PropValue> { return act_.RunWinStartUp->Checked; },
        [this](const PropValue& v) {
            // A second copy is on its way out: the registration belongs to the running copy,
            // whose tick may not be saved yet.
            if (otherInstance_) return;
            if (act_.RunWinStartUp->Checked == std::get<bool>(v)) return;
            // Turned off in Windows' own start-up list since the tick was stored: that is the
            // user's newer choice, which a start must not undo.
            if (std::get<bool>(v) && StartupTurnedOffByWindows()) return;
            RunWinStartUpExecute();
        }));
    std::vector<std::wstring> pageNames;
    for (const PageDef& p : Pages) pageNames.emplace_back(p.name);
    props.push_back(StoredProp{L"Properties.ActivePage", PropKind::Component,
                               [this]() -> std::optional<PropValue> {
                                   int index = TabCtrl_GetCurSel(Properties);
                                   if (index < 0 || index >= page::Count) return std::wstring();
                                   return std::wstring(Pages[index].name);
                               },
                               [this](const PropValue& v) {
                                   const auto& name = std::get<std::wstring>(v);
                                   int index = -1;
                                   for (const PageDef& p : Pages)
                                       if (p.name == name) index = p.index;
                                   ShowPage(index);
                               },
                               std::move(pageNames)});
    props.push_back(
        slider(L"ZoomSlider.Position", zoom_.ZoomSlider, &TTintsnatch4::ZoomSliderChange));
    props.push_back(hotKey(L"hkCapture.HotKey", keys_.hkCapture));
    props.push_back(hotKey(L"hkExit.HotKey", keys_.hkExit));
    props.push_back(hotKey(L"hkFixedFollow.HotKey", keys_.hkFixedFollow));
    props.push_back(hotKey(L"hkShowHide.HotKey", keys_.hkShowHide));
    props.push_back(
        radio(L"rgCapture.ItemIndex", capture_.rgCapture, &TTintsnatch4::rgCaptureClick));
    props.push_back(radio(L"rgCaptureArea.ItemIndex", capture_.rgCaptureArea, nullptr));
    props.push_back(
        radio(L"rgClipboard.ItemIndex", clipboard_.rgClipboard, &TTintsnatch4::rgClipboardClick));
    props.push_back(StoredProp{
        L"colFmtPreview.Caption",
        PropKind::String,
        [this]() -> std::optional<PropValue> { return win::GetText(clipboard_.colFmtPreview); },
        [this](const PropValue& v) {
            win::SetText(clipboard_.colFmtPreview, std::get<std::wstring>(v));
        },
        {}});
    props.push_back(
        slider(L"CroshairSize.Position", zoom_.CroshairSize, &TTintsnatch4::CroshairSizeChange));
    props.push_back(boolean(
        L"cbCroshair.Checked", [this] { return CheckedOf(zoom_.cbCroshair); },
        [this](const PropValue& v) {
            if (win::SetChecked(zoom_.cbCroshair, std::get<bool>(v))) cbCroshairClick();
        }));
    // New values come last under new keys: a file without them leaves the defaults.
    auto text = [](const wchar_t* name, const HWND& stored) {
        const HWND* edit = &stored;
        return StoredProp{
            name,
            PropKind::String,
            [edit]() -> std::optional<PropValue> { return win::GetText(*edit); },
            [edit](const PropValue& v) { win::SetText(*edit, std::get<std::wstring>(v)); },
            {}};
    };
    props.push_back(text(L"edSaveFolder.Text", save_.edSaveFolder));
    props.push_back(text(L"edFileName.Text", save_.edFileName));
    props.push_back(StoredProp{L"udDelay.Position",
                               PropKind::Integer,
                               [this]() -> std::optional<PropValue> { return DelaySeconds(); },
                               [this](const PropValue& v) {
                                   SendMessageW(save_.udDelay, UDM_SETPOS32, 0,
                                                std::clamp(std::get<std::int32_t>(v), 0,
                                                           countdown::MaxSeconds));
                               },
                               {}});
    props.push_back(boolean(
        L"cbIncludeCursor.Checked", [this] { return CheckedOf(save_.cbIncludeCursor); },
        [this](const PropValue& v) { win::SetChecked(save_.cbIncludeCursor, std::get<bool>(v)); }));
    props.push_back(boolean(
        L"cbLastRegion.Checked", [this] { return CheckedOf(save_.cbLastRegion); },
        [this](const PropValue& v) { win::SetChecked(save_.cbLastRegion, std::get<bool>(v)); }));
    props.push_back(StoredProp{
        L"OskScreenCapture1.LastRegion",
        PropKind::String,
        [this]() -> std::optional<PropValue> {
            const auto& r = OskScreenCapture1->LastRegion;
            return r ? proposal::FormatRegion({r->left, r->top, r->right, r->bottom})
                     : std::wstring();
        },
        [this](const PropValue& v) {
            // Text that names no rectangle keeps the one of this run.
            if (auto r = proposal::ParseRegion(std::get<std::wstring>(v)))
                OskScreenCapture1->LastRegion = RECT{r->left, r->top, r->right, r->bottom};
        },
        {}});

    // New values get keys of their own after the fourteen; until a file has them the controls
    // keep their first-start values, which are the program's behaviour without them.
    props.push_back(StoredProp{
        L"cbSample.ItemIndex",
        PropKind::Integer,
        [this]() -> std::optional<PropValue> {
            return static_cast<std::int32_t>(SendMessageW(zoom_.cbSample, CB_GETCURSEL, 0, 0));
        },
        [this](const PropValue& v) {
            // Clamped like a radio group's index; only a change runs the handler.
            const int count = static_cast<int>(SendMessageW(zoom_.cbSample, CB_GETCOUNT, 0, 0));
            const int index = std::clamp(std::get<std::int32_t>(v), 0, count - 1);
            if (index == SendMessageW(zoom_.cbSample, CB_GETCURSEL, 0, 0)) return;
            SendMessageW(zoom_.cbSample, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            cbSampleChange();
        },
        {}});
    props.push_back(StoredProp{
        L"edCustomFormat.Text",
        PropKind::String,
        [this]() -> std::optional<PropValue> { return win::GetText(clipboard_.edCustomFormat); },
        [this](const PropValue& v) {
            // Whole, also beyond what typing takes: a cut could end inside a placeholder.
            const std::wstring& text = std::get<std::wstring>(v);
            if (text != win::GetText(clipboard_.edCustomFormat))
                win::SetText(clipboard_.edCustomFormat, text);
        },
        {}});
    props.push_back(hotKey(L"hkPick.HotKey", keys_.hkPick));

    // Centred on the screen until a stored position is applied.
    auto window = std::make_unique<MainPlacementWindow>(Handle(), [this] {
        return OskScreenCapture1 && OskScreenCapture1->Minimize && OskScreenCapture1->Capturing();
    });
    JvFormStorage1 =
        std::make_unique<TJvFormStorage>(std::make_unique<settings::Win32ProfileFile>(),
                                         std::move(window), std::move(props), FormName);
    JvFormStorage1->ReportError = [] { win::ReportCurrentException(); };
    JvFormStorage1->SaveOtherSections = [this](settings::ProfileFile& files, const std::wstring&) {
        StageHistory(files);
    };
    // Fixed here, before anything can show the window, so no read or write uses another file.
    const std::wstring exe = settings::ExecutablePath();
    const settings::SettingsLocation place =
        settings::LocateSettingsFile(exe, win::Application().Name());
    JvFormStorage1->IniFileName = place.path;
    if (place.movedFirstTime)
        settingsMovedNote_ = settings::MovedSettingsText(FolderOf(exe), place.path);
    win::SetText(misc_.SettingsPath, place.shown);
}

void TTintsnatch4::StorageShowHook() {
    if (!JvFormStorage1) {
        FormShow();
        return;
    }
    JvFormStorage1->ShowHook([this] {
        // Until a stored position has been applied the window is centred at every showing.
        if (JvFormStorage1->Window().Start() == settings::StartPosition::ScreenCenter)
            CenterOnScreen();
        FormShow();
    });
    // Once, over the window the user now sees: later starts find the file in its new place.
    if (!settingsMovedNote_.empty()) ShowMessage(Handle(), std::exchange(settingsMovedNote_, {}));
}

void TTintsnatch4::StorageHideHook() {
    if (JvFormStorage1)
        JvFormStorage1->HideHook([this] { FormHide(); });
    else
        FormHide();
}

void TTintsnatch4::StorageOptionsClosed() {
    if (JvFormStorage1) JvFormStorage1->KeepFileCurrent();
}

void TTintsnatch4::StorageEndSession() {
    // The session ends without a close: the process is ended once this answer is given.
    if (JvFormStorage1) JvFormStorage1->EndSessionHook();
    UnbindHotKeys();
    if (HotKeyManager1) HotKeyManager1->UnregisterAll();
}

void TTintsnatch4::StorageCloseQueryHook() {
    if (JvFormStorage1) (void)JvFormStorage1->CloseQueryHook();
}

void TTintsnatch4::StorageDestroyHook() {
    if (JvFormStorage1)
        JvFormStorage1->DestroyHook([this] { FormDestroy(); });
    else
        FormDestroy();
}

void TTintsnatch4::CheckSingleInstance() {
    // Creation goes on whatever happens here: the timer, the magnifiers and the settings must
    // not be lost to a failed check.
    win::Guarded([this] {
        settings::SessionClaim claim = settings::ClaimSessionName(
            L"Local\\" + win::Application().Name() + L".Instance", sessionName_);
        std::wstring ownName = settings::FileNameOf(settings::ExecutablePath());
        settings::Win32ProcessList processes;
        settings::FindOtherInstances(claim, processes, ownName, GetCurrentProcessId(), [this] {
            // Whatever this copy restores is the running copy's; it must not write it back
            // changed, nor act on it.
            otherInstance_ = true;
            if (JvFormStorage1) JvFormStorage1->KeepStoredValues = true;
            // The beep is a courtesy; a machine without sound still gets the message.
            (void)MessageBeep(0);
            ShowMessage(Handle(), L"Another instance of Tintsnatch is alredy running.");
            // Only a request: the message loop still shows the window once, which restores
            // its settings, so the destruction that follows saves them (marked Visible=1)
            // instead of leaving the file as a copy that never ran.
            PostQuitMessage(0);
        });
    });
}

namespace {
// The machine-wide Run key and the current user's.
struct RunKeys {
    settings::Win32RunKeyStore machine{HKEY_LOCAL_MACHINE}, user{HKEY_CURRENT_USER};
    settings::StartupRegistration Registration(HWND owner) {
        return settings::StartupRegistration(
            machine, user, win::Application().Name(), settings::ExecutablePath(),
            [owner](const std::wstring& text) { ShowMessage(owner, text); });
    }
};
}  // namespace

void TTintsnatch4::ReadStartupState() {
    Action* action = act_.RunWinStartUp;
    // As for the instance check: reported, and creation goes on.
    win::Guarded([&] { action->Checked = RunKeys().Registration(Handle()).ReadState(); });
    win::SetChecked(misc_.cbStartUp, action->Checked);
    SyncTrayMenu();
}

bool TTintsnatch4::StartupTurnedOffByWindows() {
    bool off = false;
    win::Guarded([&] { off = RunKeys().Registration(Handle()).TurnedOffByWindows(); });
    return off;
}

void TTintsnatch4::RunWinStartUpExecute() {
    Action* action = act_.RunWinStartUp;
    // The box and the tray item follow the action also when writing the value fails.
    struct Mirror {
        TTintsnatch4& form;
        Action& action;
        ~Mirror() {
            win::SetChecked(form.misc_.cbStartUp, action.Checked);
            win::Guarded([this] { form.SyncTrayMenu(); });
        }
    } mirror{*this, *action};
    RunKeys().Registration(Handle()).Toggle(action->Checked);
}

bool TTintsnatch4::MiscCommand(int controlId, int code) {
    if (controlId != id::cbStartUp || code != BN_CLICKED) return false;
    RunWinStartUpExecute();
    return true;
}
