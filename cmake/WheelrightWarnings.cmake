# Warnings are errors on every target of ours.
add_library(wheelright_warnings INTERFACE)
if(MSVC)
  target_compile_options(wheelright_warnings INTERFACE /W4 /WX)
else()
  target_compile_options(wheelright_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Werror -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Wconversion -Wsign-conversion
    -Wimplicit-fallthrough)
endif()
