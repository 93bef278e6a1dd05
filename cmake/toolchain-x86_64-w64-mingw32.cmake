# Cross build for Windows with Debian's mingw-w64, x86_64.
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

set(MIZONA_ARCH_FLAGS)
set(MIZONA_ENTRY MizonaStart)
