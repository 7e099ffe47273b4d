# A plain program, not a Google Benchmark: 1000 referee-checked games through the server logic.
add_executable(plimb_soak ${CMAKE_CURRENT_LIST_DIR}/soak.cpp)
target_link_libraries(plimb_soak PRIVATE plimb_core_server)
