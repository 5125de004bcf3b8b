ts_logic_sources(Names.cpp NameRest.cpp Contrast.cpp OverlayNames.cpp)
ts_win32_sources(Accessible.cpp UiaAnnouncer.cpp UiaWindow.cpp ListAccessible.cpp)
