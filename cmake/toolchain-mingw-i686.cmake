# 32-bit Windows with Debian's mingw-w64, posix thread model (std::thread, GoogleTest).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

# The dependency prefix comes from tools/build-deps; it is searched beside the mingw sysroot.
set(VARNHOLT_DEPS "$ENV{VARNHOLT_DEPS}" CACHE PATH "Prefix of the mingw dependency builds")
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${VARNHOLT_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(ENV{PKG_CONFIG_LIBDIR} "${VARNHOLT_DEPS}/lib/pkgconfig:/usr/i686-w64-mingw32/lib/pkgconfig")
