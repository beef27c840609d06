# What both MinGW-w64 toolchain files share; they set QUARROW_MINGW_TRIPLE and the processor first.
# The -posix compilers are required: the win32 thread variant has no std::mutex and GoogleTest does
# not build with it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QUARROW_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUARROW_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUARROW_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUARROW_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
