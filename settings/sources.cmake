ts_logic_sources(ValueCodec.cpp ProfileFile.cpp Placement.cpp StoredProps.cpp JvFormStorage.cpp
                 Startup.cpp SingleInstance.cpp SettingsPlace.cpp FileText.cpp IniText.cpp)
ts_win32_sources(ProfileFileWin32.cpp PlacementWin32.cpp StartupWin32.cpp SingleInstanceWin32.cpp
                 SettingsPlaceWin32.cpp FileReplaceWin32.cpp)
