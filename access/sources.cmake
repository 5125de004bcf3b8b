ts_logic_sources(Names.cpp NameRest.cpp Contrast.cpp)
ts_win32_sources(Accessible.cpp UiaAnnouncer.cpp ListAccessible.cpp)
