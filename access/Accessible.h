#pragma once
// The Win32 side of what a screen reader is told (access/Names.h decides what), and the system's
// High Contrast setting and colours (access/Contrast.h decides what is drawn with them).
#include <functional>
#include <string>

#include "access/Contrast.h"
#include "access/Names.h"
#include "win/Platform.h"
// After the platform header: COM's types need its own.
#include <unknwn.h>

namespace a11y {

// A control we draw ourselves answers WM_GETOBJECT for its client area with the standard proxy
// of the common control it behaves like: its role comes from the platform and its name from its
// window text (WM_GETTEXT), asked in this process. True with `result` set when it answered;
// false (where oleacc or the proxy is missing, or for another object) leaves the platform's
// default object to answer, which takes its name from the window text as well.
bool AnswerGetObject(HWND control, WPARAM wp, LPARAM lp, Kind kind, LRESULT& result);

// Answers WM_GETOBJECT with an accessible object of our own (its reference is taken for the
// reader). False where the platform offers no way to.
bool AnswerWithObject(IUnknown* object, WPARAM wp, LRESULT& result);
// The platform's own object of a window (its frame, say, the parent of a client object).
HRESULT StandardObject(HWND window, LONG objectId, REFIID iid, void** object);

// The whole answer of a self-drawn control whose name is made when asked (the swatch, a
// magnifier): WM_GETOBJECT as above, and its name as its text. True with `result` set when the
// message was one of these and answered.
bool AnswerAsNamed(HWND control, UINT msg, WPARAM wp, LPARAM lp, Kind kind,
                   const std::function<std::wstring()>& name, LRESULT& result);

// Sets what the platform cannot know of a control: the role its proxy lacks and, for a control
// named by a label, its name. The name goes into the window text too, which is where the
// accessibility layers without annotations (Wine's) read it. Where annotations are not offered
// the window text alone carries the name.
void Present(HWND control, Kind kind, const std::wstring& name = {});

// Tells listeners that a control's name (its shown value) changed.
void RaiseNameChange(HWND control);

// The system's High Contrast setting, and the system colours the look is made of.
bool SystemHighContrast();
SystemColors CurrentSystemColors();
// The look as the setting and the colours are now, for what is drawn for a moment only (the
// loupe, the countdown): read at each paint, it follows every change.
Look CurrentLook();

}  // namespace a11y
