target_sources(quarrow_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/files_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fault_fs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/memory_fs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dbf_create_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dbf_records_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/memo_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/concurrency_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bulk_number_test.cpp
)
if(QUARROW_WIN32)
    target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/child_process_win32.cpp)
else()
    target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/child_process_posix.cpp)
endif()
# Independent readers and writers run natively: dbfread and GDAL through tests/dbf/oracle.py, shapelib linked.
if(NOT QUARROW_WIN32)
    target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/interop_test.cpp)
    target_link_libraries(quarrow_tests PRIVATE shp)
endif()
# Table maintenance and export; the independent readers (tests/dbf/maint_oracle.py) and fork run natively.
target_sources(quarrow_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/maintenance_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sort_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/append_export_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/write_faults_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/data_safety_test.cpp
)
if(NOT QUARROW_WIN32)
    target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/maint_interop_test.cpp)
endif()
# Swapping tables and copying records into a new structure.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/table_swap_test.cpp ${CMAKE_CURRENT_LIST_DIR}/restructure_test.cpp)
