# 32-bit Windows, from the same sources.
set(VARNHOLT_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
