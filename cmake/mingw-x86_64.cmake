# Cross-compiles the 64-bit Windows build with MinGW-w64, beside the 32-bit one we ship. On 64-bit Windows
# this exe sees the 64-bit ODBC drivers; here it runs under wine64 where 32-bit programs cannot start.
set(QUARROW_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
