// The main window's side of the precise pick: the command, the loupe's look and the copy.
#include <exception>

#include "access/Names.h"
#include "app/TintsnatchMain.h"
#include "capture/OskCapture.h"
#include "colors/ColorHistory.h"
#include "colors/ColorTemplate.h"
#include "pick/PickForm.h"
#include "win/Application.h"
#include "win/Clipboard.h"
#include "zoom/JvZoom.h"

namespace {
// The Clipboard page's "Custom", after the six formats.
constexpr int CustomFormat = 6;
}  // namespace

void TTintsnatch4::PickExecute() {
    // Its key and the capture key still work while an overlay runs its loop: one at a time.
    if (OskScreenCapture1->Capturing()) return;
    // The loupe enlarges as the compact view's magnifier does now, and samples as Ctrl+C does.
    LoupeLook look;
    look.ZoomLevel = JvZoom1->ZoomLevel();
    look.Crosshair = JvZoom1->Crosshair();
    look.CrosshairSize = JvZoom1->CrosshairSize();
    look.CrosshairColor = JvZoom1->CrosshairColor();
    look.SampleSide = sampleSide_;
    std::exception_ptr failure;
    CloseLater closeLater(Handle(), closeAfterCapture_);
    // The capture's own way off the screen: the program's windows (the following window beside
    // the cursor among them) leave it before the screen is frozen, and come back as they were,
    // with every key they held; the foreground goes back to the window the user was in.
    OskScreenCapture1->RunAside([&] {
        TPickForm form(win::Application().Handle(), look);
        form.ColorText = [this](COLORREF color, POINT at) { return PickedColorText(color, at); };
        // The overlay is what the user sees; it says the colour once its pointer rested.
        const auto voice = SpeakFrom(form.Handle());
        form.OnSettle = [this](COLORREF color, POINT at) {
            AnnounceAtRest(a11y::PickedAt(PickedColorText(color, at), at.x, at.y));
        };
        // Copied the moment it is picked, as Ctrl+C copies, not once the windows are back. A
        // failure is reported once they are.
        form.OnPick = [&](COLORREF color, POINT at) {
            try {
                CopyPickedColor(color, at);
            } catch (...) {
                failure = std::current_exception();
            }
        };
        (void)OskScreenCapture1->ShowOverlay(form);
    });
    if (failure) std::rethrow_exception(failure);
}

std::wstring TTintsnatch4::PickedColorText(COLORREF color, POINT at) const {
    const Readouts readouts = ReadoutsFor(SplitColor(color), at.x, at.y);
    const int format = clipboard_.rgClipboard.ItemIndex();
    if (format == CustomFormat)
        return colors::ExpandTemplate(win::GetText(clipboard_.edCustomFormat),
                                      colors::ValuesOf(readouts));
    return ::FormatColorText(format, readouts);
}

void TTintsnatch4::CopyPickedColor(COLORREF color, POINT at) {
    const std::wstring text = PickedColorText(color, at);
    if (!PlaceColorText(text, clipboard_.rgClipboard.ItemIndex())) return;
    RememberColor(colors::RgbOf(SplitColor(color)));
    Announce(a11y::CopiedText(text));
}
