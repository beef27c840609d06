# The file panels: records, column texts, sort keys and path rules (both builds).
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/file_entry_test.cpp)
target_link_libraries(quarrow_tests PRIVATE qcopy)
# Table copy tests: the texts and the type mapping alone, and whole copies between the real drivers.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/create_table_text_test.cpp)
# The copies are read back with the sqlite3 and mariadb clients of the host: native only.
if(NOT QUARROW_WIN32)
    target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/table_copy_real_test.cpp)
endif()
target_link_libraries(quarrow_tests PRIVATE qcopy)
# The dialog, under Wine.
if(QUARROW_WIN32)
    target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/table_copy_dialog_test.cpp)
    target_link_libraries(quarrow_tests PRIVATE qcopywin)
endif()
