# Shared by the two mingw-w64 toolchains; FENNOCK_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR are
# set by the file that includes this one. The posix thread flavour gives std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${FENNOCK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FENNOCK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${FENNOCK_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${FENNOCK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# No mingw DLLs at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Test executables run under Wine; tests/wine-run.sh gives each one a timeout and picks the
# loader for the program's width.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine-run.sh)
