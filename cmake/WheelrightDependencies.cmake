# GoogleTest and Google Benchmark: the system's copies when installed, built from local sources
# when given (a cross build cannot use the host's libraries), fetched otherwise.
include_guard(GLOBAL)
include(FetchContent)

set(WHEELRIGHT_GOOGLETEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH
    "GoogleTest sources to build when no installed GoogleTest fits (Debian: libgtest-dev)")
set(WHEELRIGHT_BENCHMARK_SOURCE_DIR "$ENV{WHEELRIGHT_BENCHMARK_SOURCE_DIR}" CACHE PATH
    "Google Benchmark sources to build when no installed copy fits (Debian: apt-get source benchmark)")

function(wheelright_find_googletest)
  find_package(GTest QUIET)
  if(GTest_FOUND)
    message(STATUS "GoogleTest: system")
    return()
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  if(EXISTS "${WHEELRIGHT_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt")
    message(STATUS "GoogleTest: ${WHEELRIGHT_GOOGLETEST_SOURCE_DIR}")
    FetchContent_Declare(googletest SOURCE_DIR "${WHEELRIGHT_GOOGLETEST_SOURCE_DIR}" SYSTEM)
  else()
    message(STATUS "GoogleTest: fetching")
    FetchContent_Declare(googletest
      URL https://github.com/google/googletest/archive/refs/tags/v1.14.0.tar.gz
      DOWNLOAD_EXTRACT_TIMESTAMP TRUE SYSTEM)
  endif()
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
  if(WHEELRIGHT_BENCHMARK_SOURCE_DIR)
    message(STATUS "Google Benchmark: ${WHEELRIGHT_BENCHMARK_SOURCE_DIR}")
    # Debian's sources do not ask git for the version; this makes them take the project's own.
    set(GIT_VERSION "0.0.0")
    FetchContent_Declare(benchmark SOURCE_DIR "${WHEELRIGHT_BENCHMARK_SOURCE_DIR}" SYSTEM)
  else()
    message(STATUS "Google Benchmark: fetching (WHEELRIGHT_BENCHMARK_SOURCE_DIR names local sources)")
    FetchContent_Declare(benchmark
      URL https://github.com/google/benchmark/archive/refs/tags/v1.8.3.tar.gz
      DOWNLOAD_EXTRACT_TIMESTAMP TRUE SYSTEM)
  endif()
  FetchContent_MakeAvailable(benchmark)
endfunction()
