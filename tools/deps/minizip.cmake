# Minizip ships no build of its own for this target: a static library of the
# unzip side with the Win32 file callbacks, against mingw's static zlib.
cmake_minimum_required(VERSION 3.16)
project(minizip C)

set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

add_library(minizip STATIC unzip.c ioapi.c iowin32.c)
target_compile_definitions(minizip PRIVATE USE_FILE32API)
target_link_libraries(minizip PUBLIC ZLIB::ZLIB)
target_include_directories(minizip PUBLIC $<INSTALL_INTERFACE:include>)

install(TARGETS minizip ARCHIVE DESTINATION lib)
install(FILES unzip.h ioapi.h iowin32.h DESTINATION include/minizip)
