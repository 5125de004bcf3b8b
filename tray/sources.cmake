ts_logic_sources(TrayLogic.cpp)
ts_win32_sources(JvTrayIcon.cpp)
