# The same commit gives the same bytes, whatever the build folder, time, umask or user.
# The programs carry no paths of the build and no time; the packages' times, owners and order
# are fixed by cmake/reproducible_packages.cmake, from SOURCE_DATE_EPOCH.
if(NOT MSVC)
  add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=" "-ffile-prefix-map=${PROJECT_BINARY_DIR}/=")
endif()
if(MINGW)
  add_link_options(-Wl,--no-insert-timestamp)
endif()

# Read by CPack: where the commit's time can be looked up, and what to do once the packages
# are made.
set(CPACK_VELMORA_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
set(CPACK_POST_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/reproducible_packages.cmake")
