ts_logic_sources(BmpLayout.cpp PrintPlacement.cpp CaptureChoice.cpp FrameDash.cpp CaptureBounds.cpp
                 SaveName.cpp CursorImage.cpp Countdown.cpp RegionProposal.cpp PinZoom.cpp
                 ScreenSettle.cpp SavePlace.cpp)
ts_win32_sources(Picture.cpp OskCapture.cpp BmpFile.cpp PngEncoder.cpp PngFile.cpp PngClipboard.cpp
                 ImageView.cpp ScreenOverlay.cpp CaptureTheRect.cpp CaptureTheObject.cpp
                 ScreenSettleWin32.cpp OneKeySave.cpp CursorImageWin32.cpp CountdownWindow.cpp
                 PinWindow.cpp)
ts_logic_sources(OverlayKeys.cpp)
ts_win32_sources(OverlayKeysWin32.cpp)
