# GoogleTest and Google Benchmark: the system's copies when installed, built from local sources
# when given (a cross build cannot use the host's libraries), fetched otherwise.
include_guard(GLOBAL)
include(FetchContent)

set(WHEELRIGHT_GOOGLETEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH
    "GoogleTest sources to build when no installed GoogleTest fits (Debian: libgtest-dev)")
set(WHEELRIGHT_BENCHMARK_SOURCE_DIR "$ENV{WHEELRIGHT_BENCHMARK_SOURCE_DIR}" CACHE PATH
    "Google Benchmark sources to build when no installed copy fits (Debian: apt-get source benchmark)")

# Declares a dependency from the local sources when they are there, else from its release archive.
function(wheelright_declare name label source_dir url)
  if(source_dir AND EXISTS "${source_dir}/CMakeLists.txt")
    message(STATUS "${label}: ${source_dir}")
    FetchContent_Declare(${name} SOURCE_DIR "${source_dir}" SYSTEM)
  else()
    message(STATUS "${label}: fetching")
    FetchContent_Declare(${name} URL ${url} DOWNLOAD_EXTRACT_TIMESTAMP TRUE SYSTEM)
  endif()
endfunction()

function(wheelright_find_googletest)
  find_package(GTest QUIET)
  if(GTest_FOUND)
    message(STATUS "GoogleTest: system")
    return()
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  wheelright_declare(googletest GoogleTest "${WHEELRIGHT_GOOGLETEST_SOURCE_DIR}"
                     https://github.com/google/googletest/archive/refs/tags/v1.14.0.tar.gz)
  FetchContent_MakeAvailable(googletest)
  foreach(name gtest gtest_main)
    if(NOT TARGET GTest::${name})
      add_library(GTest::${name} ALIAS ${name})
    endif()
  endforeach()
endfunction()

function(wheelright_find_benchmark)
  find_package(benchmark QUIET)
  if(benchmark_FOUND)
    message(STATUS "Google Benchmark: system")
    return()
  endif()
  set(BENCHMARK_ENABLE_TESTING OFF CACHE BOOL "" FORCE)
  set(BENCHMARK_ENABLE_GTEST_TESTS OFF CACHE BOOL "" FORCE)
  set(BENCHMARK_ENABLE_INSTALL OFF CACHE BOOL "" FORCE)
  set(BENCHMARK_ENABLE_WERROR OFF CACHE BOOL "" FORCE)
  if(CMAKE_CROSSCOMPILING AND APPLE)
    # Its feature checks would run programs; a cross build can only compile them, and says so
    # with a warning each. These are what every macOS 13 SDK offers.
    foreach(feature STD_REGEX POSIX_REGEX STEADY_CLOCK THREAD_SAFETY_ATTRIBUTES)
      set(HAVE_${feature} 1)
    endforeach()
    set(COMPILE_HAVE_GNU_POSIX_REGEX OFF)
  endif()
  if(WHEELRIGHT_BENCHMARK_SOURCE_DIR AND NOT EXISTS "${WHEELRIGHT_BENCHMARK_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR "WHEELRIGHT_BENCHMARK_SOURCE_DIR=${WHEELRIGHT_BENCHMARK_SOURCE_DIR} holds no "
                        "Google Benchmark sources (see the README: apt-get source benchmark)")
  endif()
  # Neither Debian's sources nor the archive are a git checkout; this gives the version plainly.
  set(GIT_VERSION "0.0.0")
  wheelright_declare(benchmark "Google Benchmark" "${WHEELRIGHT_BENCHMARK_SOURCE_DIR}"
                     https://github.com/google/benchmark/archive/refs/tags/v1.8.3.tar.gz)
  FetchContent_MakeAvailable(benchmark)
endfunction()
