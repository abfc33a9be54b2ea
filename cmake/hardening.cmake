# SPDX-FileCopyrightText: 2026 The Zindra developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The flags every Debian package is built with, taken from dpkg-buildflags so
# that the game gets exactly what the rest of the system gets: stack
# protector, fortified libc calls, format checks, PIE (the compiler's
# default), RELRO and immediate binding (hardening=+all adds BIND_NOW), and
# the source directory mapped to "." so that no build path is recorded.
# Optimisation and debug information stay the build type's.
#
# The sanitizer build leaves fortify out: the checked variants it swaps in
# for memcpy and the like are not the functions AddressSanitizer intercepts,
# so it would check fewer calls, and it catches all that fortify does. A
# Debug build leaves it out too: glibc only fortifies optimised code.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
  message(STATUS "dpkg-buildflags not found: built without Debian's hardening flags")
  return()
endif()

set(zindra_hardening hardening=+all)
if(ZINDRA_SANITIZE OR CMAKE_BUILD_TYPE STREQUAL "Debug")
  string(APPEND zindra_hardening ",-fortify")
endif()
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=${zindra_hardening}
      "DEB_${kind}_MAINT_STRIP=-g -O2" ${DPKG_BUILDFLAGS} --get ${kind}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  if(kind STREQUAL "LDFLAGS")
    add_link_options(${flags})
  else()
    add_compile_options(${flags})
  endif()
endforeach()
