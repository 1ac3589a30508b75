# The filter export file's writer and reader alone; QuorvelCL end to end is
# measured by scripts/bench against the storage floor.
if(TARGET filterfile)
  add_executable(bench_filterfile ${CMAKE_CURRENT_LIST_DIR}/cli_filterfile.cpp)
  target_link_libraries(bench_filterfile PRIVATE filterfile benchmark::benchmark_main)
endif()
