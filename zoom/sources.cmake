ts_logic_sources(ZoomGeometry.cpp)
ts_win32_sources(JvZoom.cpp BlockSampler.cpp)
