# The file panels: records, column texts, sort keys and path rules (both builds).
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/file_entry_test.cpp)
target_link_libraries(quarrow_tests PRIVATE qcopy)
