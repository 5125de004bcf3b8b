#pragma once
// What a screen reader reads as the name of what the program shows over the desk: the capture
// countdown by its seconds, the pick's loupe by the colour and the point under it, the rectangle
// overlay by what it asks for and the size drawn. Plain strings, checked without a window.
#include <string>
#include <string_view>

namespace a11y {

// "Capture in 3 seconds", "Capture in 1 second".
std::wstring CountdownName(int seconds);
// "Pick precisely: 255 128 0, at 213, 157".
std::wstring LoupeName(std::wstring_view colorText, int x, int y);
// "Select an area to capture", and once one is drawn "Select an area to capture: 200 x 150".
std::wstring SelectionName(int width, int height);

}  // namespace a11y
