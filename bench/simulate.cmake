# A plain program, not a Google Benchmark: it plays whole games and prints a table.
add_executable(plimb_simulate ${CMAKE_CURRENT_LIST_DIR}/simulate.cpp)
target_link_libraries(plimb_simulate PRIVATE plimb_core_rules)
