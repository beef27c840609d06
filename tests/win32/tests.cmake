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
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/odbc_window_fixture.cpp ${CMAKE_CURRENT_LIST_DIR}/explorer_test.cpp)
# The SQL editor in the explorer, SQL assist, drop table.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/sql_editor_explorer_test.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/insert_script_grid_test.cpp)
# The shared dialog skeleton.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bound_dialog_test.cpp)
# Results copied into temporary tables and shown in a host's grid.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/grid_host_fixture.cpp ${CMAKE_CURRENT_LIST_DIR}/result_view_test.cpp)
target_link_libraries(quarrow_tests PRIVATE qodbcwin)
# File panels and the picture viewer.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/file_panel_test.cpp ${CMAKE_CURRENT_LIST_DIR}/picture_viewer_test.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/screenshot.cpp)
target_link_libraries(quarrow_tests PRIVATE qcopy qpicture)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/screenshots)
target_compile_definitions(quarrow_tests PRIVATE QUARROW_SCREENSHOT_DIR="Z:${CMAKE_BINARY_DIR}/screenshots/")
# GIF and JPEG pictures for the viewer's tests, made by ImageMagick: red over blue, blue over yellow.
set(QUARROW_PICTURE_FIXTURES ${CMAKE_BINARY_DIR}/picture-fixtures)
add_custom_command(OUTPUT ${QUARROW_PICTURE_FIXTURES}/photo.jpg ${QUARROW_PICTURE_FIXTURES}/anim.gif
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUARROW_PICTURE_FIXTURES}
    COMMAND convert -size 90x60 xc:red -fill blue -draw "rectangle 0,30 90,60" ${QUARROW_PICTURE_FIXTURES}/photo.jpg
    COMMAND convert -size 70x70 xc:blue -fill yellow -draw "rectangle 0,35 70,70" ${QUARROW_PICTURE_FIXTURES}/anim.gif
    VERBATIM)
add_custom_target(picture_fixtures DEPENDS ${QUARROW_PICTURE_FIXTURES}/photo.jpg ${QUARROW_PICTURE_FIXTURES}/anim.gif)
add_dependencies(quarrow_tests picture_fixtures)
target_compile_definitions(quarrow_tests PRIVATE QUARROW_PICTURE_FIXTURES="Z:${QUARROW_PICTURE_FIXTURES}/")
# The MySQL administration dialogs.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/mysql_dialogs_test.cpp)
# The SQL Server administration dialogs over the scripted stand-in driver manager.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/mssql_dialogs_test.cpp)
# The explorer's SQL Server menu over the stand-in, loaded as odbc32.dll from its own folder.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/mssql_explorer_test.cpp)
add_library(fake_odbc32 SHARED ${CMAKE_SOURCE_DIR}/tests/odbc/fake_driver_manager.c)
set_target_properties(fake_odbc32 PROPERTIES PREFIX "" OUTPUT_NAME odbc32 C_VISIBILITY_PRESET hidden
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fake-odbc32
                      ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fake-odbc32)
target_link_options(fake_odbc32 PRIVATE -Wl,--kill-at)
add_dependencies(quarrow_tests fake_odbc32)
# Wine takes odbc32.dll from the exe's folder before the system's: the test exe is linked in there.
add_custom_command(TARGET quarrow_tests POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E rm -f ${CMAKE_BINARY_DIR}/fake-odbc32/quarrow_tests.exe
    COMMAND ${CMAKE_COMMAND} -E create_hardlink $<TARGET_FILE:quarrow_tests> ${CMAKE_BINARY_DIR}/fake-odbc32/quarrow_tests.exe)
# Catalog and status views and the explorer's file-system branch.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/explorer_catalog_test.cpp)
# The commander.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/commander_window_test.cpp)
target_link_libraries(quarrow_tests PRIVATE qcommander)
# The commander's ODBC panels and the views they open opposite.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/commander_odbc_test.cpp)
target_link_libraries(quarrow_tests PRIVATE qcommander)
# The commander's file side, and the scratch folders of the file panel tests.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/scratch_folder.cpp
                                     ${CMAKE_CURRENT_LIST_DIR}/commander_files_test.cpp)
# An SQLite database under the .db extension, for the commander to open from a file panel.
set(QUARROW_COMMANDER_FIXTURES ${CMAKE_BINARY_DIR}/commander-fixtures)
add_custom_command(OUTPUT ${QUARROW_COMMANDER_FIXTURES}/parts.db
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUARROW_COMMANDER_FIXTURES}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${QUARROW_COMMANDER_FIXTURES}/parts.db
    COMMAND sqlite3 ${QUARROW_COMMANDER_FIXTURES}/parts.db "create table parts(id integer, name text)"
    VERBATIM)
add_custom_target(commander_fixtures DEPENDS ${QUARROW_COMMANDER_FIXTURES}/parts.db)
add_dependencies(quarrow_tests commander_fixtures)
target_compile_definitions(quarrow_tests PRIVATE QUARROW_COMMANDER_FIXTURES="Z:${QUARROW_COMMANDER_FIXTURES}/")
