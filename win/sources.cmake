ts_logic_sources(DpiScale.cpp)
ts_win32_sources(Gdi.cpp Window.cpp ErrorReport.cpp Application.cpp Controls.cpp Clipboard.cpp Text.cpp Hints.cpp Dpi.cpp)
