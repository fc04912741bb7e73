# Windows with Debian's mingw-w64, posix thread model (std::thread, GoogleTest).
# Included by the per-architecture files, which set VARNHOLT_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VARNHOLT_PROCESSOR})
set(triplet ${VARNHOLT_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

# The dependency prefix comes from tools/build-deps; it is searched beside the mingw sysroot.
set(VARNHOLT_DEPS "$ENV{VARNHOLT_DEPS}" CACHE PATH "Prefix of the mingw dependency builds")
set(CMAKE_FIND_ROOT_PATH /usr/${triplet} ${VARNHOLT_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(ENV{PKG_CONFIG_LIBDIR} "${VARNHOLT_DEPS}/lib/pkgconfig:/usr/${triplet}/lib/pkgconfig")
