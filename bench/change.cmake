# One Change Access run through the real library, without a window; timed by
# scripts/bench against QuorvelCL's import of the same rows.
if(TARGET change)
  add_executable(change_bench ${CMAKE_CURRENT_LIST_DIR}/change_run.cpp)
  target_link_libraries(change_bench PRIVATE change essbase_library)
endif()
