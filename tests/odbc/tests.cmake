# ODBC tests: the binding over a stand-in driver manager and over the real one with real drivers.
target_sources(quarrow_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/odbc_test_support.cpp
    ${CMAKE_CURRENT_LIST_DIR}/odbc_binding_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/odbc_handles_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/data_sources_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/odbc_real_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/column_text_test.cpp
)
# Results copied into temporary tables.
target_sources(quarrow_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/result_mapping_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/result_real_test.cpp
)
# Catalog and status views.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/catalog_views_test.cpp)
# The SQL editors: command files, history, statements, INSERT scripts.
target_sources(quarrow_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/sql_editor_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sql_editor_real_test.cpp
)
target_link_libraries(quarrow_tests PRIVATE qodbc)

# Stand-in driver managers, each lacking something; they sit beside the test exe.
foreach(variant full no_tables no_optional no_drivers no_data_sources no_environment)
    add_library(fake_odbc_${variant} SHARED ${CMAKE_CURRENT_LIST_DIR}/fake_driver_manager.c)
    set_target_properties(fake_odbc_${variant} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
                          RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR} C_VISIBILITY_PRESET hidden)
    if(QUARROW_WIN32)
        # Undecorated __stdcall names, as the real odbc32.dll exports them.
        target_link_options(fake_odbc_${variant} PRIVATE -Wl,--kill-at)
    endif()
    add_dependencies(quarrow_tests fake_odbc_${variant})
endforeach()
target_compile_definitions(fake_odbc_no_tables PRIVATE FAKE_OMIT_TABLES)
target_compile_definitions(fake_odbc_no_optional PRIVATE FAKE_OMIT_OPTIONAL)
target_compile_definitions(fake_odbc_no_drivers PRIVATE FAKE_NO_DRIVERS)
target_compile_definitions(fake_odbc_no_data_sources PRIVATE FAKE_NO_DATA_SOURCES)
target_compile_definitions(fake_odbc_no_environment PRIVATE FAKE_NO_ENVIRONMENT)
if(QUARROW_WIN32)
    # Found by the exe's own folder first.
    target_compile_definitions(quarrow_tests PRIVATE QUARROW_FAKE_ODBC_DIR="")
else()
    target_compile_definitions(quarrow_tests PRIVATE QUARROW_FAKE_ODBC_DIR="${CMAKE_BINARY_DIR}/")
endif()
target_compile_definitions(quarrow_tests PRIVATE QUARROW_FAKE_ODBC_SUFFIX="${CMAKE_SHARED_LIBRARY_SUFFIX}")
if(QUARROW_WIN32)
    target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/login_dialog_test.cpp)
endif()
# The SQL command window.
if(QUARROW_WIN32)
    target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/command_window_test.cpp)
endif()
