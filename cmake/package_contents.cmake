# Read by CPack for each package it makes. Each Linux package has its own build of the
# program: the .deb links dynamically, as Debian policy wants; the tarball statically, so
# that it starts on any x86-64 Linux, old ones included.
if(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_COMPONENTS_ALL portable docs)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_COMPONENTS_ALL program docs)
endif()
