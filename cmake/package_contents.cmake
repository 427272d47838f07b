# Read by CPack for each package it makes. Each Linux package has its own build of the
# program: the .deb links dynamically, as Debian policy wants; the tarball statically, so
# that it starts on any x86-64 Linux, old ones included. Debian wants the licence in its
# copyright file only; the tarball and the zip carry LICENSE itself.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_COMPONENTS_ALL program docs)
elseif(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_COMPONENTS_ALL portable docs licence)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_COMPONENTS_ALL program docs licence)
endif()

# Every time in the packages is the commit's, unless the builder set one: the practice of
# reproducible builds. cmake/reproducible_packages.cmake writes it into every package.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git log -1 --format=%ct
                  WORKING_DIRECTORY "${CPACK_VELMORA_SOURCE_DIR}"
                  OUTPUT_VARIABLE velmora_commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE velmora_git_failed ERROR_QUIET)
  if(velmora_git_failed OR velmora_commit_time STREQUAL "")
    # A source archive without its history: its files carry the commit's time.
    file(TIMESTAMP "${CPACK_VELMORA_SOURCE_DIR}/CMakeLists.txt" velmora_commit_time "%s" UTC)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} "${velmora_commit_time}")
endif()
