# The warnings every target of ours is built with. They are errors where the project checks itself
# (the presets that CI runs set CMAKE_COMPILE_WARNING_AS_ERROR), never in a plain or release build,
# where a newer or older compiler's new warning must not stop a user.
add_library(wheelright_warnings INTERFACE)
if(MSVC)
  target_compile_options(wheelright_warnings INTERFACE /W4)
else()
  target_compile_options(wheelright_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Wconversion -Wsign-conversion
    -Wimplicit-fallthrough)
endif()
