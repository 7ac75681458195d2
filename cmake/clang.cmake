# Builds with the newest installed clang and the system's standard library: the fuzz preset, since
# libFuzzer comes with clang.
include("${CMAKE_CURRENT_LIST_DIR}/WheelrightLLVM.cmake")
wheelright_find_llvm(fuzz)
set(CMAKE_C_COMPILER "${WHEELRIGHT_LLVM_BIN}/clang")
set(CMAKE_CXX_COMPILER "${WHEELRIGHT_LLVM_BIN}/clang++")
