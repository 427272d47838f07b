# Run by CPack after each generator, with CPACK_PACKAGE_FILES naming what it made. Each package
# is rewritten with its entries in name order, owned by root, with the modes 755 or 644 and
# the time SOURCE_DATE_EPOCH, so that neither the builder's umask nor user shows. Then
# SHA256SUMS in the package folder lists every package of this version there.
find_program(VELMORA_PYTHON3 python3)
if(NOT VELMORA_PYTHON3)
  message(FATAL_ERROR "python3 is needed to make the packages reproducible (apt-get install python3)")
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(package MATCHES "\\.(tar\\.gz|zip|deb)$")
    execute_process(
      COMMAND "${VELMORA_PYTHON3}" "${CPACK_VELMORA_SOURCE_DIR}/cmake/normalize_archive.py"
              "${package}" "$ENV{SOURCE_DATE_EPOCH}"
      COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()

# This generator's packages are not yet copied to the package folder, where the other
# generators' already are; each is summed where it is.
set(velmora_names "")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(name "${package}" NAME)
  set(velmora_path_${name} "${package}")
  list(APPEND velmora_names "${name}")
endforeach()
file(GLOB velmora_made RELATIVE "${CPACK_PACKAGE_DIRECTORY}"
     "${CPACK_PACKAGE_DIRECTORY}/velmora*${CPACK_PACKAGE_VERSION}*.deb"
     "${CPACK_PACKAGE_DIRECTORY}/velmora*${CPACK_PACKAGE_VERSION}*.tar.gz"
     "${CPACK_PACKAGE_DIRECTORY}/velmora*${CPACK_PACKAGE_VERSION}*.zip")
foreach(name IN LISTS velmora_made)
  if(NOT DEFINED velmora_path_${name})
    set(velmora_path_${name} "${CPACK_PACKAGE_DIRECTORY}/${name}")
    list(APPEND velmora_names "${name}")
  endif()
endforeach()
list(SORT velmora_names)
set(velmora_lines "")
foreach(name IN LISTS velmora_names)
  file(SHA256 "${velmora_path_${name}}" sum)
  string(APPEND velmora_lines "${sum}  ${name}\n")
endforeach()
file(WRITE "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS" "${velmora_lines}")
