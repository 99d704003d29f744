set(ZL_TRIPLE i686-w64-mingw32)
set(ZL_TRIPLE_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
