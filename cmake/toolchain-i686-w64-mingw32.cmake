# Cross build for Windows with Debian's mingw-w64, i686.
set(MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# What we ship must run on a 386 or 486 under the first Windows 95.
set(MIZONA_ARCH_FLAGS -march=i386 -mtune=i486)
set(MIZONA_ENTRY _MizonaStart)
