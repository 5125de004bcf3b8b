ts_logic_sources(HotKeyList.cpp ShortcutText.cpp KeyEntry.cpp)
ts_win32_sources(HotKeyManager.cpp Win32HotKeyPlatform.cpp HotKeyEdit.cpp)
