# Debian's hardening flags, as dpkg-buildflags gives them for a package with every hardening feature
# on: fortified functions, stack protector, format checks, read-only relocations bound at start.
# Optimisation and debug information stay the build type's, and paths are not rewritten, so the flags
# change nothing but the hardening. The sanitizer and fuzz builds bring their own instrumentation.

find_program(DPKG_BUILDFLAGS dpkg-buildflags)
set(hardening_default OFF)
if(DPKG_BUILDFLAGS AND NOT LANVO_SANITIZE AND NOT LANVO_FUZZ)
  set(hardening_default ON)
endif()
option(LANVO_DEB_BUILDFLAGS "Build with the hardening flags of dpkg-buildflags" ${hardening_default})

function(lanvo_deb_buildflags kind out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env
      "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-fixfilepath,-fixdebugpath"
      "DEB_CXXFLAGS_MAINT_STRIP=-g -O2"
      ${DPKG_BUILDFLAGS} --get ${kind}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

if(LANVO_DEB_BUILDFLAGS)
  if(NOT DPKG_BUILDFLAGS)
    message(FATAL_ERROR "LANVO_DEB_BUILDFLAGS needs dpkg-buildflags (package dpkg-dev)")
  endif()
  lanvo_deb_buildflags(CPPFLAGS cppflags)
  lanvo_deb_buildflags(CXXFLAGS cxxflags)
  lanvo_deb_buildflags(LDFLAGS ldflags)
  # Fortified functions need an optimised build; a debug build would warn in every file.
  list(TRANSFORM cppflags REPLACE "^(-D_FORTIFY_SOURCE=.*)$" "$<$<NOT:$<CONFIG:Debug>>:\\1>")
  add_compile_options(${cppflags} ${cxxflags})
  add_link_options(${ldflags})
  message(STATUS "Hardening flags of dpkg-buildflags: ${cppflags} ${cxxflags} ${ldflags}")
endif()
