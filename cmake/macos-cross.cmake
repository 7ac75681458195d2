# Cross-builds Wheelright.app and everything a Mac's development build compiles, on Linux, with
# the newest installed LLVM (clang, ld64.lld and the Mach-O tools) against a macOS SDK laid out at
# $MACOS_SDK (headers and .tbd link stubs). Used by the macos-cross preset.

set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_VERSION 22.4)  # Darwin of macOS 13.3, the SDK's release

if(NOT DEFINED ENV{MACOS_SDK} OR "$ENV{MACOS_SDK}" STREQUAL "")
  message(FATAL_ERROR "macos-cross: set MACOS_SDK to the root of a macOS SDK "
                      "(the directory that holds SDKSettings.json, e.g. .../MacOSX13.3.sdk)")
endif()
if(NOT EXISTS "$ENV{MACOS_SDK}/usr/include/stdio.h")
  message(FATAL_ERROR "macos-cross: MACOS_SDK=$ENV{MACOS_SDK} does not look like a macOS SDK")
endif()
set(CMAKE_OSX_SYSROOT "$ENV{MACOS_SDK}" CACHE PATH "macOS SDK")
set(CMAKE_OSX_DEPLOYMENT_TARGET "13.0" CACHE STRING "Minimum macOS version")
# Try-compile projects inherit the architectures; the top level sets both for a universal build.
if(NOT CMAKE_OSX_ARCHITECTURES)
  set(CMAKE_OSX_ARCHITECTURES arm64 CACHE STRING "Build architectures" FORCE)
endif()
list(GET CMAKE_OSX_ARCHITECTURES 0 _wheelright_first_arch)
set(_wheelright_target "${_wheelright_first_arch}-apple-macos${CMAKE_OSX_DEPLOYMENT_TARGET}")

# clang hands every LIBRARY_PATH entry to the linker as -L: Linux libraries found there would be
# linked into a Darwin executable. The preset empties it.
if(NOT "$ENV{LIBRARY_PATH}" STREQUAL "")
  message(WARNING "macos-cross: LIBRARY_PATH is set ($ENV{LIBRARY_PATH}); unset it for the build")
endif()

# The newest LLVM wins: its clang is the nearest to Apple's.
include("${CMAKE_CURRENT_LIST_DIR}/WheelrightLLVM.cmake")
wheelright_find_llvm(macos-cross
  TOOLS ld64.lld llvm-ar llvm-ranlib llvm-install-name-tool llvm-lipo llvm-libtool-darwin
  PACKAGES lld llvm)
set(_wheelright_llvm "${WHEELRIGHT_LLVM_BIN}")

set(CMAKE_C_COMPILER "${_wheelright_llvm}/clang")
set(CMAKE_CXX_COMPILER "${_wheelright_llvm}/clang++")
set(CMAKE_OBJCXX_COMPILER "${_wheelright_llvm}/clang++")
foreach(lang C CXX OBJCXX)
  set(CMAKE_${lang}_COMPILER_TARGET "${_wheelright_target}")
endforeach()
set(CMAKE_AR "${_wheelright_llvm}/llvm-ar" CACHE FILEPATH "Archiver")
set(CMAKE_RANLIB "${_wheelright_llvm}/llvm-ranlib" CACHE FILEPATH "Archive indexer")
set(CMAKE_INSTALL_NAME_TOOL "${_wheelright_llvm}/llvm-install-name-tool" CACHE FILEPATH
    "install_name_tool")

# The Linux host's libstdc++ does not exist for Darwin: the SDK's libc++ does.
set(_wheelright_flags "-stdlib=libc++")
# clang finds ld64.lld beside itself.
set(_wheelright_link_flags "-fuse-ld=lld")

# With more than one -arch, clang builds each slice and joins them with "lipo", a name that
# LLVM installs as llvm-lipo; -B shows it the way.
list(LENGTH CMAKE_OSX_ARCHITECTURES _wheelright_arch_count)
if(_wheelright_arch_count GREATER 1)
  set(_wheelright_tools "${CMAKE_BINARY_DIR}/macos-cross-tools")
  file(MAKE_DIRECTORY "${_wheelright_tools}")
  file(CREATE_LINK "${_wheelright_llvm}/llvm-lipo" "${_wheelright_tools}/lipo" SYMBOLIC)
  string(APPEND _wheelright_flags " -B${_wheelright_tools}")
  string(APPEND _wheelright_link_flags " -B${_wheelright_tools}")
  # Objects are then universal, which an ar archive cannot index; libtool makes a universal
  # archive of one thin archive per architecture, as ld64.lld expects.
  foreach(lang C CXX OBJCXX)
    set(CMAKE_${lang}_CREATE_STATIC_LIBRARY
        "${_wheelright_llvm}/llvm-libtool-darwin -static -o <TARGET> <LINK_FLAGS> <OBJECTS>")
  endforeach()
endif()

# clang prefers the libc++ headers installed beside it (LLVM's, for Linux) to the SDK's; the SDK's
# match the libc++ that macOS 13 ships, and they lack what it lacks (std::format, for one).
set(_wheelright_cxx_flags
    "${_wheelright_flags} -nostdinc++ -isystem ${CMAKE_OSX_SYSROOT}/usr/include/c++/v1")
set(CMAKE_C_FLAGS_INIT "${_wheelright_flags}")
set(CMAKE_CXX_FLAGS_INIT "${_wheelright_cxx_flags}")
set(CMAKE_OBJCXX_FLAGS_INIT "${_wheelright_cxx_flags}")
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "${_wheelright_link_flags}")
endforeach()

# Headers and libraries come from the SDK only; programs from the host.
set(CMAKE_FIND_ROOT_PATH "${CMAKE_OSX_SYSROOT}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
