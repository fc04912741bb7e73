# 64-bit Windows (PE32+): the default build.
set(VARNHOLT_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
