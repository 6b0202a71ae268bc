# Run by CPack after the installation into its staging folder, before the package is made:
# Debian keeps the programs of games in /usr/games. They still find their data at
# ../share/kelvra, the same place as from /usr/bin.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(CPACK_GENERATOR STREQUAL "DEB" AND IS_DIRECTORY "${root}/bin")
  file(MAKE_DIRECTORY "${root}/games")
  file(GLOB programs "${root}/bin/*")
  foreach(program ${programs})
    get_filename_component(name "${program}" NAME)
    file(RENAME "${program}" "${root}/games/${name}")
  endforeach()
  file(REMOVE_RECURSE "${root}/bin")
endif()

# What lintian reports and why it is accepted: packaging/README.md.
if(CPACK_GENERATOR STREQUAL "DEB")
  file(MAKE_DIRECTORY "${root}/share/lintian/overrides")
  file(COPY_FILE "${CMAKE_CURRENT_LIST_DIR}/lintian-overrides" "${root}/share/lintian/overrides/kelvra")
endif()
