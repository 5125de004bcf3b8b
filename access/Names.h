#pragma once
// What a screen reader is told of each control that shows something: its role and its name.
// The readouts, the swatch and the magnifiers draw themselves, so the platform cannot know what
// they are; the sliders and hotkey edits would be named from whatever label comes before them in
// the window order, which on our pages is not always theirs. Plain strings only: the names are
// checked without a window.
#include <string>
#include <string_view>

namespace a11y {

// Roles as Active Accessibility numbers them (ROLE_SYSTEM_* of oleacc.h).
enum class Role : long {
    Graphic = 0x28,
    StaticText = 0x29,
    HotKeyField = 0x32,
    Slider = 0x33,
    List = 0x21,
    ListItem = 0x22,
    Text = 0x2A,
    SpinButton = 0x34
};

// Picture: the captured image. Edit and UpDown: common controls named by a label the platform
// would not find.
enum class Kind { Readout, Swatch, Magnifier, Slider, HotKeyEdit, Picture, Edit, UpDown };

struct Presentation {
    Role role;
    // The common control whose standard proxy answers for a control we draw ourselves; nullptr
    // for a common control, whose own proxy answers already.
    const wchar_t* proxyClass;
    // The role is set on top of the proxy's own, which is another.
    bool annotateRole;
    // The name is set on the control itself (its window text and an annotation), since the
    // platform would look for it in a label.
    bool fixedName;
    // The fixed name goes into the window text too; not for an edit, whose text is what it holds.
    bool nameInText = true;
};

Presentation PresentationOf(Kind kind);

// The swatch: its colour in the chosen clipboard format, or that it has none yet.
std::wstring SwatchName(std::wstring_view colorText, bool hasColor);
// A magnifier of `viewWidth` pixels at zoom `level` (per cent of the view taken from the
// screen): by how many times it enlarges, as its drawing does, e.g. "Magnifier, zoom 7.4x". A
// level too small to take any pixel says the level instead.
std::wstring MagnifierName(int viewWidth, int level);
// A control named by its label's caption: without the ampersand that marks a mnemonic and the
// colon at its end ("&Delay:" names "Delay").
std::wstring LabelName(std::wstring_view caption);

// The captured image of the capture view, by its size ("Captured image, 200 x 150 pixels").
std::wstring CapturedImageName(int width, int height);
// An entry of the History page: its colour in the chosen format, and whether it is pinned.
std::wstring HistoryEntryName(std::wstring_view colorText, bool pinned);
// A pinned capture, by the order it was opened in, its size and its zoom (its window's title).
std::wstring PinName(int number, int width, int height, int percent);

// What is said after a copy.
std::wstring CopiedText(std::wstring_view text);
std::wstring CopiedPicture(int width, int height);
// What the precise pick says when its cursor comes to rest: the colour there and the point.
std::wstring PickedAt(std::wstring_view colorText, int x, int y);

}  // namespace a11y
