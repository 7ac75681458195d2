# GoogleTest and Google Benchmark: the system's copies when installed, fetched otherwise.
include_guard(GLOBAL)
include(FetchContent)

function(wheelright_find_googletest)
  find_package(GTest QUIET)
  if(GTest_FOUND)
    message(STATUS "GoogleTest: system")
    return()
  endif()
  message(STATUS "GoogleTest: fetching")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  FetchContent_Declare(googletest
    URL https://github.com/google/googletest/archive/refs/tags/v1.14.0.tar.gz
    DOWNLOAD_EXTRACT_TIMESTAMP TRUE)
  FetchContent_MakeAvailable(googletest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endfunction()

function(wheelright_find_benchmark)
  find_package(benchmark QUIET)
  if(benchmark_FOUND)
    message(STATUS "Google Benchmark: system")
    return()
  endif()
  message(STATUS "Google Benchmark: fetching")
  set(BENCHMARK_ENABLE_TESTING OFF CACHE BOOL "" FORCE)
  set(BENCHMARK_ENABLE_INSTALL OFF CACHE BOOL "" FORCE)
  FetchContent_Declare(benchmark
    URL https://github.com/google/benchmark/archive/refs/tags/v1.8.3.tar.gz
    DOWNLOAD_EXTRACT_TIMESTAMP TRUE)
  FetchContent_MakeAvailable(benchmark)
endfunction()
