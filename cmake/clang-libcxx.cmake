# Builds on Linux with the newest installed clang and LLVM's libc++, the nearest match here to
# Apple's clang and standard library. Used by the libcxx preset.
include("${CMAKE_CURRENT_LIST_DIR}/WheelrightLLVM.cmake")
wheelright_find_llvm(libcxx PACKAGES libc++ libc++abi)
string(REGEX MATCH "[0-9]+$" _wheelright_llvm_version "${WHEELRIGHT_LLVM_ROOT}")
if(NOT EXISTS "${WHEELRIGHT_LLVM_ROOT}/include/c++/v1/vector"
   AND NOT EXISTS "/usr/include/c++/v1/vector")
  message(FATAL_ERROR "libcxx: libc++ headers not found for ${WHEELRIGHT_LLVM_ROOT} (Debian: "
                      "apt-get install libc++-${_wheelright_llvm_version}-dev "
                      "libc++abi-${_wheelright_llvm_version}-dev)")
endif()

set(CMAKE_C_COMPILER "${WHEELRIGHT_LLVM_BIN}/clang")
set(CMAKE_CXX_COMPILER "${WHEELRIGHT_LLVM_BIN}/clang++")
set(CMAKE_CXX_FLAGS_INIT "-stdlib=libc++")
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-stdlib=libc++")
endforeach()
