# GoogleTest and Google Benchmark: the system's copies when installed, built from local sources
# named by FETCHCONTENT_SOURCE_DIR_<NAME> (a cross build cannot use the host's libraries), else
# fetched.
include_guard(GLOBAL)
include(FetchContent)

# A build that cannot link the system's GoogleTest (a cross build, or one that hides the package,
# as the libc++ build does: Debian's is built against libstdc++) takes Debian's GoogleTest sources
# (libgtest-dev) when they are there.
if((CMAKE_CROSSCOMPILING OR CMAKE_DISABLE_FIND_PACKAGE_GTest OR CMAKE_DISABLE_FIND_PACKAGE_googletest)
   AND NOT DEFINED FETCHCONTENT_SOURCE_DIR_GOOGLETEST AND EXISTS /usr/src/googletest/CMakeLists.txt)
  set(FETCHCONTENT_SOURCE_DIR_GOOGLETEST /usr/src/googletest CACHE PATH "GoogleTest sources")
endif()

# FetchContent only checks that a named folder exists; one without sources would fail later and
# less plainly.
function(wheelright_check_source_dir name hint)
  set(dir "${FETCHCONTENT_SOURCE_DIR_${name}}")
  if(dir AND NOT EXISTS "${dir}/CMakeLists.txt")
    message(FATAL_ERROR "FETCHCONTENT_SOURCE_DIR_${name}=${dir} holds no sources (${hint})")
  endif()
endfunction()
wheelright_check_source_dir(GOOGLETEST "Debian: libgtest-dev puts them in /usr/src/googletest")
wheelright_check_source_dir(BENCHMARK "see the README: apt-get source benchmark")

# Says where a dependency came from: the system's copy or the folder it was built from. Targets
# built here are marked SYSTEM, so that our warnings stop at their headers. (FetchContent_Declare's
# own SYSTEM option breaks the URL download on CMake 3.25.1.)
function(wheelright_report_source name label)
  FetchContent_GetProperties(${name} SOURCE_DIR source_dir)
  if(source_dir)
    message(STATUS "${label}: ${source_dir}")
    foreach(target IN LISTS ARGN)
      if(TARGET ${target})
        set_target_properties(${target} PROPERTIES SYSTEM ON)
      endif()
    endforeach()
  else()
    message(STATUS "${label}: system")
  endif()
endfunction()

# Both are built with their own warnings; ours being errors must not stop their build. The
# variable is local to each function, so only the dependency's targets see it.
function(wheelright_find_googletest)
  set(CMAKE_COMPILE_WARNING_AS_ERROR OFF)
  # find_package() looks for it as "googletest"; hiding it by its usual name hides it too.
  if(CMAKE_DISABLE_FIND_PACKAGE_GTest)
    set(CMAKE_DISABLE_FIND_PACKAGE_googletest ON)
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  FetchContent_Declare(googletest
    URL https://github.com/google/googletest/archive/refs/tags/v1.14.0.tar.gz
    DOWNLOAD_EXTRACT_TIMESTAMP TRUE
    FIND_PACKAGE_ARGS NAMES GTest)
  FetchContent_MakeAvailable(googletest)
  wheelright_report_source(googletest GoogleTest gtest gtest_main)
  foreach(name gtest gtest_main)
    if(NOT TARGET GTest::${name})
      add_library(GTest::${name} ALIAS ${name})
    endif()
  endforeach()
endfunction()

function(wheelright_find_benchmark)
  set(CMAKE_COMPILE_WARNING_AS_ERROR OFF)
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
  # Neither Debian's sources nor the archive are a git checkout; this gives the version plainly.
  set(GIT_VERSION "0.0.0")
  FetchContent_Declare(benchmark
    URL https://github.com/google/benchmark/archive/refs/tags/v1.8.3.tar.gz
    DOWNLOAD_EXTRACT_TIMESTAMP TRUE
    FIND_PACKAGE_ARGS)
  FetchContent_MakeAvailable(benchmark)
  wheelright_report_source(benchmark "Google Benchmark" benchmark benchmark_main)
endfunction()
