# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (the posix thread model, for
# std::thread). Libraries are looked up only in the mingw sysroot and in ZENTRAIL_WINDOWS_PREFIX,
# where scripts/build-windows puts the ones it builds.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZENTRAIL_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZENTRAIL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZENTRAIL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZENTRAIL_MINGW}-windres)

if(NOT ZENTRAIL_WINDOWS_PREFIX AND DEFINED ENV{ZENTRAIL_WINDOWS_PREFIX})
  set(ZENTRAIL_WINDOWS_PREFIX $ENV{ZENTRAIL_WINDOWS_PREFIX})
endif()
# Try-compile projects see the toolchain file again, without the cache.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZENTRAIL_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${ZENTRAIL_MINGW} ${ZENTRAIL_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(ZENTRAIL_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} ${ZENTRAIL_WINDOWS_PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()

# Static libraries only, and the compiler's own runtime linked in, so that an .exe runs alone.
set(OPENSSL_USE_STATIC_LIBS TRUE)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# A system library found as an archive (odbc32) leaves the link line in -Bdynamic, which would
# bring back libstdc++ and winpthread as DLLs: the line ends in -Bstatic again.
foreach(lang C CXX)
  set(CMAKE_${lang}_STANDARD_LIBRARIES
      "-lkernel32 -luser32 -lgdi32 -lwinspool -lshell32 -lole32 -loleaut32 -luuid -lcomdlg32 -ladvapi32 -Wl,-Bstatic"
      CACHE STRING "Libraries linked into every program")
endforeach()

# Tests are listed when ctest runs them (under wine), not while building.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
