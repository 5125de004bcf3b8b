ts_logic_sources(ColorTemplate.cpp Contrast.cpp BlockAverage.cpp ColorHistory.cpp HistoryStore.cpp
                 SwatchGrid.cpp)
ts_win32_sources(HistoryPage.cpp)
