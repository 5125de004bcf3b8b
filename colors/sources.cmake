ts_logic_sources(ColorTemplate.cpp Contrast.cpp BlockAverage.cpp)
