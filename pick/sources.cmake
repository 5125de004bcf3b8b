ts_logic_sources(PickGeometry.cpp)
ts_win32_sources(PickForm.cpp)
