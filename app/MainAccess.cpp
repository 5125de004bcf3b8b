// The main window's share of screen readers and High Contrast: what the platform is told of the
// controls, the name changes at rest, the announcements, and the colours the setting asks for.
#include <array>
#include <utility>

#include "access/Accessible.h"
#include "access/UiaAnnouncer.h"
#include "app/TintsnatchMain.h"

// The component headers are included where their types are complete.
#include "app/Components.h"

namespace {
// The nine readouts of the compact view, in its reading order.
template <typename Readouts>
auto EachReadout(Readouts& r) {
    return std::array{&r.ColR, &r.ColG, &r.ColB, &r.ColHex,  &r.ColC,
                      &r.ColM, &r.ColY, &r.ColK, &r.Position};
}
}  // namespace

void TTintsnatch4::PresentControls() {
    // The window serves its own UI Automation provider from now on, so that it can speak.
    SetAnnouncer(nullptr);
    a11y::Present(readouts_.TintColor.Handle(), a11y::Kind::Swatch);
    readouts_.TintColor.ColorText = [this] {
        return FormatColorText(clipboard_.rgClipboard.ItemIndex());
    };
    for (TJvZoom* zoom : {JvZoom1.get(), JvZoom2.get()})
        if (zoom) a11y::Present(zoom->Handle(), a11y::Kind::Magnifier);
    // Each slider and hotkey edit by the caption that labels it on its page. The platform would
    // take the label made just before it, which on the Keys page labels another edit.
    const std::pair<HWND, HWND> sliders[] = {{zoom_.ZoomSlider, zoom_.gbZoom},
                                             {zoom_.CroshairSize, zoom_.Label8}};
    for (const auto& [slider, label] : sliders)
        a11y::Present(slider, a11y::Kind::Slider, a11y::LabelName(win::GetText(label)));
    const std::pair<HWND, HWND> edits[] = {{keys_.hkShowHide, keys_.lblShow},
                                           {keys_.hkFixedFollow, keys_.Label1},
                                           {keys_.hkCapture, keys_.Label2},
                                           {keys_.hkExit, keys_.lblExit},
                                           {keys_.hkPick, keys_.lblPick}};
    for (const auto& [edit, label] : edits)
        a11y::Present(edit, a11y::Kind::HotKeyEdit, a11y::LabelName(win::GetText(label)));
    // The arrows beside "Delay:" come after its edit, so the platform finds no label for them;
    // the template's edit has none of its own: it sits under the "Custom" it is for.
    a11y::Present(save_.udDelay, a11y::Kind::UpDown, a11y::LabelName(win::GetText(save_.lblDelay)));
    a11y::Present(clipboard_.edCustomFormat, a11y::Kind::Edit, L"Custom template");
    a11y::Present(captureView_.CapturedImage, a11y::Kind::Picture);
}

std::vector<HWND> TTintsnatch4::SampleNamedControls() const {
    std::vector<HWND> controls;
    for (const win::Readout* r : EachReadout(readouts_)) controls.push_back(r->Handle());
    controls.push_back(readouts_.TintColor.Handle());
    for (const TJvZoom* zoom : {JvZoom1.get(), JvZoom2.get()})
        if (zoom) controls.push_back(zoom->Handle());
    return controls;
}

void TTintsnatch4::RaiseNameChangesAtRest() {
    const std::vector<HWND> controls =
        pace_.Resting() ? SampleNamedControls() : std::vector<HWND>{};
    const auto changed = nameRest_.Observe(pace_.Resting(), [&] {
        a11y::NameRest::Names names;
        for (HWND h : controls) names.push_back(win::GetText(h));
        return names;
    });
    for (std::size_t i : changed) a11y::RaiseNameChange(controls[i]);
}

void TTintsnatch4::Announce(const std::wstring& text) {
    if (announcer_) announcer_->Announce(text);
}

void TTintsnatch4::AnnounceAtRest(const std::wstring& text) {
    if (announcer_) announcer_->AnnounceAtRest(text);
}

std::shared_ptr<void> TTintsnatch4::SpeakFrom(HWND window) {
    return announcer_ ? announcer_->SpeakFrom(window) : nullptr;
}

void TTintsnatch4::SetAnnouncer(std::unique_ptr<a11y::Announcer> announcer) {
    announcer_ = announcer ? std::move(announcer)
                           : std::make_unique<a11y::UiaAnnouncer>(Handle(), a11y::SystemUia());
}

void TTintsnatch4::ApplyContrast() {
    const bool high = ReadHighContrast && ReadHighContrast();
    const a11y::Look look = a11y::LookFor(high, a11y::CurrentSystemColors());
    // Hints read the system's colours at each paint; whether they may take a colour of their
    // own is told here.
    hintSettings_.SetHighContrast(high);
    const bool was = std::exchange(highContrast_, high);
    ApplyAboutLook();
    if (lookApplied_ && high == was && look == look_) return;
    lookApplied_ = true;
    look_ = look;
    for (win::Readout* r : EachReadout(readouts_)) r->SetColors(look.readoutText, look.readoutBack);
    readouts_.TintColor.SetFrame(look.swatchFrame, high);
    for (TJvZoom* zoom : {JvZoom1.get(), JvZoom2.get()})
        if (zoom) zoom->SetFrame(look.magnifierFrame);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
