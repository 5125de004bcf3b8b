#pragma once
// Control IDs of the main window, its pages and its menu. Tests find controls by these IDs.
namespace id {
// Views and the compact view
inline constexpr int ColorZoomPanel = 1001, Panel1 = 1002, ColR = 1003, ColG = 1004, ColB = 1005,
                     ColHex = 1006, ColC = 1007, ColM = 1008, ColY = 1009, ColK = 1010,
                     TintColor = 1011, Position = 1012, JvZoom1 = 1013;
inline constexpr int Properties = 1020, tsZoom = 1021, tsClipBoard = 1022, tsCapture = 1023,
                     Keys = 1024, tsMisc = 1025, About = 1026;
inline constexpr int CapturePanel = 1030;
// Zoom page
inline constexpr int gbZoom = 1100, ZoomSlider = 1101, lblFactor = 1102, lblZoomFactor = 1103,
                     JvZoom2 = 1104, Bevel1 = 1105, Image2 = 1106, Label3 = 1107, Label8 = 1108,
                     Label9 = 1109, CroshairSize = 1110, cbCroshair = 1111;
// Clipboard page: the six radio items are rgClipboardItem0 + index
inline constexpr int rgClipboard = 1200, rgClipboardItem0 = 1201, FormatStrip = 1210,
                     lblFormat = 1211, colFmtPreview = 1212;
// Capture page and capture view
inline constexpr int rgCapture = 1300, rgCaptureItem0 = 1301, rgCaptureArea = 1310,
                     rgCaptureAreaItem0 = 1311, ScrollBox1 = 1320, CapturedImage = 1321,
                     BtnPanel = 1322, ClipboardCopy = 1323, SaveImage = 1324, Button1 = 1325,
                     Cancel = 1326;
// Keys page
inline constexpr int gbKeys = 1400, lblShow = 1401, Label1 = 1402, Label2 = 1403, lblExit = 1404,
                     hkShowHide = 1405, hkFixedFollow = 1406, hkCapture = 1407, hkExit = 1408,
                     hkClipboard = 1409, lblPick = 1410, hkPick = 1411;
inline constexpr int lblKeyHolder = 1412;
// Misc page
inline constexpr int gbMisc = 1500, cbStartUp = 1501, cbGrabIfMin = 1502, lblSettingsPath = 1503,
                     SettingsPath = 1504;
// About page
inline constexpr int Image1 = 1600, Label5 = 1601, Label4 = 1602, JvHotLink4 = 1603, Label6 = 1604,
                     JvHotLink5 = 1605;
// Save page and the capture view's one-key save
inline constexpr int tsSave = 1900, lblSaveFolder = 1901, edSaveFolder = 1902, BrowseFolder = 1903,
                     lblFileName = 1904, edFileName = 1905, SaveNow = 1906, PinCapture = 1907;
inline constexpr int lblSaveExample = 1908;  // a name Save gives, with its type
// Capture page: the delay and the pointer
inline constexpr int lblDelay = 1910, edDelay = 1911, udDelay = 1912, cbIncludeCursor = 1913,
                     cbLastRegion = 1914;
// Average sampling on the Zoom page, the user's own format on the Clipboard page
inline constexpr int lblSample = 1800, cbSample = 1801, edCustomFormat = 1802;
// History page (its own controls number from 1850)
inline constexpr int tsHistory = 1803;
// Tray menu
inline constexpr int Hide1 = 1700, Options1 = 1701, RunonStartUp1 = 1702, Exit1 = 1703;
}  // namespace id

// The pages of Properties by their tab index, in tab order.
namespace page {
enum Index : int { Zoom, Clipboard, Capture, Keys, Misc, About, Save, History, Count };
}

// Timer IDs of the main window.
namespace timer {
inline constexpr unsigned Timer1 = 1;
}

// The application's own messages.
namespace msg {
inline constexpr unsigned Base = 0x8000;  // WM_APP
}
