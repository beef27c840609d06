# Printing: page arithmetic (both builds); the page printer, table printing and the preview (Wine).
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/page_layout_test.cpp)
target_link_libraries(quarrow_tests PRIVATE qprint)
if(QUARROW_WIN32)
    target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../win32/print_test.cpp)
    target_link_libraries(quarrow_tests PRIVATE qprintwin)
    # Simple MAPI stand-ins beside the test exe: mapi32.dll records the calls (use it with
    # WINEDLLOVERRIDES="mapi32=n,b"), mapi_partial.dll lacks MAPIAddress.
    add_library(mapi_stub SHARED ${CMAKE_CURRENT_LIST_DIR}/mapi_stub.c ${CMAKE_CURRENT_LIST_DIR}/mapi_stub.def)
    add_library(mapi_partial SHARED ${CMAKE_CURRENT_LIST_DIR}/mapi_stub.c ${CMAKE_CURRENT_LIST_DIR}/mapi_stub_partial.def)
    target_compile_definitions(mapi_partial PRIVATE QUARROW_MAPI_PARTIAL)
    set_target_properties(mapi_stub PROPERTIES OUTPUT_NAME mapi32 PREFIX "")
    set_target_properties(mapi_partial PROPERTIES PREFIX "")
    set_target_properties(mapi_stub mapi_partial PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    add_dependencies(quarrow_tests mapi_stub mapi_partial)
endif()
