# Record editing rules, portable: the input filter, number and date input, the memo length check.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/cell_filter_test.cpp)
target_link_libraries(quarrow_tests PRIVATE qedit)
