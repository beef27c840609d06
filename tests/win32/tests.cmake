target_sources(quarrow_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/harness.cpp
    ${CMAKE_CURRENT_LIST_DIR}/harness_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/codepage_win32_test.cpp
    $<TARGET_OBJECTS:qres>
)
target_link_libraries(quarrow_tests PRIVATE qapp)
target_sources(quarrow_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ui_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialog_ids_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shell_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/printer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_dialog_test.cpp
)
target_link_libraries(quarrow_tests PRIVATE qui comdlg32 gdi32)
# The table grid.
target_sources(quarrow_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/grid_fake_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grid_navigation_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grid_paint_mouse_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grid_dialog_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grid_table_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grid_table_test.cpp
)
target_link_libraries(quarrow_tests PRIVATE qbrowse)
# Record editing: the cell editor, the memo dialog, the record commands, a second process's locks.
target_sources(quarrow_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/edit_lock_holder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/record_edit_test.cpp
)
# The browse commands' dialogs.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/dialog_script.cpp ${CMAKE_CURRENT_LIST_DIR}/commands_dialog_test.cpp)
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/sort_dialog_test.cpp ${CMAKE_CURRENT_LIST_DIR}/table_commands_test.cpp)
# The ODBC explorer.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/explorer_test.cpp)
# The shared dialog skeleton.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bound_dialog_test.cpp)
# The MySQL administration dialogs.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/mysql_dialogs_test.cpp)
