# MySQL administration: statements, and sessions against the real server.
target_sources(quarrow_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/mysql_sql_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mysql_server_test.cpp
)
target_link_libraries(quarrow_tests PRIVATE qadmin)
# SQL Server administration: statements, and sessions over the scripted stand-in driver manager.
target_sources(quarrow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/mssql_test.cpp)
