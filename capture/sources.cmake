ts_logic_sources(BmpLayout.cpp PrintPlacement.cpp CaptureChoice.cpp)
ts_win32_sources(Picture.cpp OskCapture.cpp BmpFile.cpp ImageView.cpp)
