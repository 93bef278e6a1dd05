# mizona.exe for Windows: the same sources over the real Win32 API, with no C
# runtime, so that it starts on a first-release Windows 95 (no msvcrt.dll, a
# 386 or 486 processor) as well as on Windows 98.
enable_language(RC)

# The C runtime's libraries are not wanted by default: each target names the
# Windows libraries it imports from.
set(CMAKE_CXX_STANDARD_LIBRARIES "")

# The real API is <windows.h> and the system's import libraries.
add_library(mizona_win32 INTERFACE)
add_mizona_core(mizona_win32)

# Code that must run with nothing beneath it: no exceptions, RTTI or guarded
# statics, no calls the compiler would invent (memcpy, stack protector), and
# only instructions of the processor named in the toolchain file. Texts keep
# the alignment the ABI asks (1), not 32 bytes each, and no compiler
# signature is stored: every byte counts against the 6 KiB.
set(freestanding
  ${MIZONA_ARCH_FLAGS}
  -Os -fno-exceptions -fno-rtti -fno-threadsafe-statics -malign-data=abi -fno-ident
  -fno-asynchronous-unwind-tables -fno-unwind-tables
  -fno-stack-protector -fno-builtin -fno-tree-loop-distribute-patterns
  -ffunction-sections -fdata-sections)
target_compile_options(mizona_core PRIVATE ${freestanding})

find_program(PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)

# The icon is drawn in a text file; the .ico is made from it at build time.
set(icon ${CMAKE_CURRENT_BINARY_DIR}/mizona.ico)
add_custom_command(OUTPUT ${icon}
  COMMAND ${PYTHON3} ${PROJECT_SOURCE_DIR}/scripts/make_icon.py ${PROJECT_SOURCE_DIR}/src/resources/icon.txt ${icon}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make_icon.py ${PROJECT_SOURCE_DIR}/src/resources/icon.txt
  COMMENT "Drawing the icon")
set_source_files_properties(src/resources/mizona.rc PROPERTIES OBJECT_DEPENDS ${icon})
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} --codepage=1252 --include-dir=${CMAKE_CURRENT_BINARY_DIR}")

add_executable(mizona WIN32 src/windows/entry.cpp src/resources/mizona.rc)
target_compile_options(mizona PRIVATE ${freestanding})
target_link_libraries(mizona PRIVATE mizona_core kernel32 user32 advapi32)
target_link_options(mizona PRIVATE
  -nostdlib -nostartfiles -s
  -Wl,--fatal-warnings
  -Wl,-e,${MIZONA_ENTRY}
  -Wl,--gc-sections
  -Wl,--subsystem,windows:4.0
  -Wl,--major-os-version,4 -Wl,--minor-os-version,0
  -Wl,--image-base,0x400000
  -Wl,--disable-dynamicbase -Wl,--disable-nxcompat -Wl,--disable-tsaware
  -Wl,--enable-reloc-section
  -Wl,-T,${PROJECT_SOURCE_DIR}/cmake/mizona-pe.ld -Wl,--orphan-handling=error)
set_target_properties(mizona PROPERTIES LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/mizona-pe.ld
  CXX_LINKER_LAUNCHER ${PROJECT_SOURCE_DIR}/scripts/commit-date.sh)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  target_link_options(mizona PRIVATE -Wl,--disable-high-entropy-va)
endif()
set_target_properties(mizona PROPERTIES OUTPUT_NAME mizona SUFFIX .exe)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  add_test(NAME shipped_exe
    COMMAND ${PYTHON3} ${PROJECT_SOURCE_DIR}/tests/check_exe.py $<TARGET_FILE:mizona>)
  # The release images, read back, and every byte of them and of the exe the
  # same when built twice.
  add_test(NAME release_images
    COMMAND ${PYTHON3} ${PROJECT_SOURCE_DIR}/tests/check_dist.py ${PROJECT_SOURCE_DIR} $<TARGET_FILE:mizona>)
  set_tests_properties(release_images PROPERTIES LABELS dist TIMEOUT 300)
else()
  # Not shipped, but run rebased under Wine: its relocation table must be
  # complete too.
  add_test(NAME relocations
    COMMAND ${PYTHON3} ${PROJECT_SOURCE_DIR}/tests/pe_relocs.py $<TARGET_FILE:mizona>)
endif()
add_subdirectory(e2e)
