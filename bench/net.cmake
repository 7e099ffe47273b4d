plimb_add_bench(plimb_bench_net ${CMAKE_CURRENT_LIST_DIR}/net_bench.cpp)
