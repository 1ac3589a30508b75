# Filling the server tree and the filter list through the real handlers.
if(TARGET desktop AND TARGET essbase_fake)
  add_executable(bench_desktop_fill ${CMAKE_CURRENT_LIST_DIR}/desktop_fill.cpp)
  target_link_libraries(bench_desktop_fill PRIVATE desktop essbase_fake benchmark::benchmark)
endif()
