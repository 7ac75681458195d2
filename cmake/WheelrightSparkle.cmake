# Sparkle, the update framework that Wheelright.app embeds: the official release archive of one
# pinned version, checked against its SHA-256 before anything in it is used. It holds
# Sparkle.framework and, in bin/, the tools a release signs with (sign_update, generate_keys).
# A cross build goes without it: it could neither fetch nor run it, and the application reaches
# Sparkle's classes at run time, so it compiles and links the same without them.
# Sets WHEELRIGHT_SPARKLE_DIR to the unpacked archive when WHEELRIGHT_SPARKLE is on.
include_guard(GLOBAL)
include(FetchContent)

set(_wheelright_sparkle_default ON)
if(CMAKE_CROSSCOMPILING)
  set(_wheelright_sparkle_default OFF)
endif()
option(WHEELRIGHT_SPARKLE
       "Fetch Sparkle and embed Sparkle.framework in Wheelright.app (FETCHCONTENT_SOURCE_DIR_SPARKLE: an unpacked archive instead)"
       ${_wheelright_sparkle_default})

# Sparkle publishes no checksum of its own; GitHub shows the SHA-256 digest of each release asset
# on the release page. A new version: take Sparkle-<version>.tar.xz from
# https://github.com/sparkle-project/Sparkle/releases, compare `shasum -a 256` of it with that
# digest (gh release view <version> -R sparkle-project/Sparkle --json assets), and set both here.
set(WHEELRIGHT_SPARKLE_VERSION 2.9.6)
set(WHEELRIGHT_SPARKLE_SHA256 52bf9e88cdd972fc0c81501377a880e90d47031bd8ca5462488f843e2609e192)

if(WHEELRIGHT_SPARKLE)
  FetchContent_Declare(sparkle
    URL https://github.com/sparkle-project/Sparkle/releases/download/${WHEELRIGHT_SPARKLE_VERSION}/Sparkle-${WHEELRIGHT_SPARKLE_VERSION}.tar.xz
    URL_HASH SHA256=${WHEELRIGHT_SPARKLE_SHA256}
    DOWNLOAD_EXTRACT_TIMESTAMP TRUE)
  FetchContent_MakeAvailable(sparkle)
  set(WHEELRIGHT_SPARKLE_DIR ${sparkle_SOURCE_DIR})
  if(NOT EXISTS ${WHEELRIGHT_SPARKLE_DIR}/Sparkle.framework/Versions/B/Sparkle
     OR NOT EXISTS ${WHEELRIGHT_SPARKLE_DIR}/bin/sign_update)
    message(FATAL_ERROR "${WHEELRIGHT_SPARKLE_DIR} is no unpacked Sparkle release archive: it has no "
                        "Sparkle.framework/Versions/B/Sparkle or no bin/sign_update")
  endif()
  message(STATUS "Sparkle ${WHEELRIGHT_SPARKLE_VERSION}: ${WHEELRIGHT_SPARKLE_DIR}")
endif()
