#!/usr/bin/env bash
# Configures the project with GoogleTest or Google Benchmark hidden from find_package and no local
# sources named, and checks that CMake gets as far as downloading the archive. Nothing leaves the
# machine: the download is sent to a closed port on the loopback through a proxy, and the configure
# is stopped as soon as the download's own script has been written (FetchContent prints what it
# did only when its download has given up, after about a minute and a half of retries).
# usage: dependency_fallback.sh CMAKE SOURCE_DIR WORK_DIR
cmake=$1 source=$2 work=$3
proxy=http://127.0.0.1:9
status=0

try() {  # name, then the cache settings
  name=$1; shift
  rm -rf "$work/$name" && mkdir -p "$work/$name" || exit 1
  log=$work/$name/configure.log
  script=$work/$name/build/_deps/$name-subbuild/$name-populate-prefix/src/$name-populate-stamp/download-$name-populate.cmake
  # A process group of its own (job control), so that the configure and the sub-build it runs are
  # stopped together.
  set -m
  http_proxy=$proxy https_proxy=$proxy HTTPS_PROXY=$proxy ALL_PROXY=$proxy no_proxy= NO_PROXY= \
    "$cmake" -S "$source" -B "$work/$name/build" "$@" >"$log" 2>&1 &
  pid=$!
  set +m
  waited=0
  while kill -0 $pid 2>/dev/null && [ ! -f "$script" ] && [ $waited -lt 120 ]; do
    sleep 1; waited=$((waited + 1))
  done
  sleep 1
  kill -TERM "-$pid" 2>/dev/null; wait $pid 2>/dev/null
  if [ -f "$script" ] && grep -q "v[0-9.]*\.tar\.gz" "$script"; then
    echo "$name: configure reached the download"
  else
    echo "$name: configure did not reach the download; its output:"; cat "$log"; status=1
  fi
}

try googletest -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DFETCHCONTENT_SOURCE_DIR_GOOGLETEST= \
    -DWHEELRIGHT_BUILD_BENCHMARKS=OFF
try benchmark -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON -DFETCHCONTENT_SOURCE_DIR_BENCHMARK= \
    -DWHEELRIGHT_BUILD_TESTS=OFF
exit $status
