# Checks the presets switch on as options, so that flags of the user's own (CXXFLAGS, LDFLAGS,
# -DCMAKE_CXX_FLAGS) are kept beside them. They apply to fetched dependencies too.
option(WHEELRIGHT_STDLIB_ASSERTIONS "Check standard-library bounds and preconditions" OFF)
set(WHEELRIGHT_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address,undefined")

# Each standard library reads its own macro and ignores the other's; libc++ before 18 has no
# hardening modes and ignores it too.
if(WHEELRIGHT_STDLIB_ASSERTIONS)
  add_compile_definitions(_GLIBCXX_ASSERTIONS
                          _LIBCPP_HARDENING_MODE=_LIBCPP_HARDENING_MODE_EXTENSIVE)
endif()
if(WHEELRIGHT_SANITIZE)
  add_compile_options(-fsanitize=${WHEELRIGHT_SANITIZE} -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${WHEELRIGHT_SANITIZE})
endif()
