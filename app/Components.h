#pragma once
// The components the main window owns, complete, for the files that create and destroy them.
#include "capture/OskCapture.h"
#include "capture/PinWindow.h"
#include "colors/HistoryPage.h"
#include "hints/JvBalloonHint.h"
#include "hints/JvHotLink.h"
#include "hotkeys/HotKeyManager.h"
#include "settings/JvFormStorage.h"
#include "tray/JvTrayIcon.h"
#include "zoom/JvZoom.h"
