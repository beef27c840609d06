target_sources(quarrow_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/harness.cpp
    ${CMAKE_CURRENT_LIST_DIR}/harness_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp
    $<TARGET_OBJECTS:qres>
)
target_link_libraries(quarrow_tests PRIVATE qapp)
