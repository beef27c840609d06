target_sources(quarrow_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/files_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dbf_create_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dbf_records_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/memo_test.cpp
)
