ts_logic_sources(ColorLibrary.cpp FollowPlacement.cpp HotKeyBindings.cpp SamplerPace.cpp
                 SessionEvents.cpp
                 ViewPlacement.cpp)
ts_win32_sources(TintsnatchMain.cpp MainColor.cpp MainZoom.cpp MainCapture.cpp MainHotkeys.cpp
                 MainTray.cpp MainSettings.cpp MainAbout.cpp MainViews.cpp MainSave.cpp
                 MainHistory.cpp MainSampling.cpp MainKeyboard.cpp MainPick.cpp MainAccess.cpp)
