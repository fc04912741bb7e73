# The third-party libraries, built for this target by tools/build-deps.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
find_package(ode 0.16.2 CONFIG REQUIRED)
find_package(expat CONFIG REQUIRED)
find_package(Ogg CONFIG REQUIRED)
find_package(Vorbis CONFIG REQUIRED)
find_package(GTest CONFIG REQUIRED)

find_library(MINIZIP_LIBRARY minizip REQUIRED)
find_path(MINIZIP_INCLUDE_DIR minizip/unzip.h REQUIRED)
add_library(minizip::minizip STATIC IMPORTED)
set_target_properties(minizip::minizip PROPERTIES
    IMPORTED_LOCATION "${MINIZIP_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${MINIZIP_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
