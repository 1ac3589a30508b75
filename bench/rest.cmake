# A click's filter listing over the REST API; scripts/bench runs it against
# esbsim serve with a latency.
if(TARGET essbase_rest)
  add_executable(rest_listing_bench ${CMAKE_CURRENT_LIST_DIR}/rest_listing.cpp)
  target_link_libraries(rest_listing_bench PRIVATE essbase_rest)
endif()
