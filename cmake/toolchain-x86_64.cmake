set(ZL_TRIPLE x86_64-w64-mingw32)
set(ZL_TRIPLE_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
