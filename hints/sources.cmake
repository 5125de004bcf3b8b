ts_logic_sources(BalloonGeometry.cpp HintTracker.cpp LabelLayout.cpp)
ts_win32_sources(HintWindow.cpp HintMonitor.cpp JvBalloonHint.cpp JvHotLink.cpp)
