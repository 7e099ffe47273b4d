plimb_add_bench(plimb_bench_records ${CMAKE_CURRENT_LIST_DIR}/records_bench.cpp)
