# Cross build for 64-bit Windows, from the same code as the 32-bit product.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(FENNOCK_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
