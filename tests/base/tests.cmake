target_sources(quarrow_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/settings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/properties_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/codepage_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/values_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dates_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_rules_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_test.cpp
)
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/find_test.cpp)
