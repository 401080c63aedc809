# Installs the libraries, their public headers, a CMake package and a
# pkg-config file for each library, so hosts can use find_package(QuenvarSpell)
# or pkg-config quenvarspell (and quenvarspell-widgets).
include(CMakePackageConfigHelpers)

set(QUENVAR_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/QuenvarSpell)

# Each file goes into the component of the Debian package that holds it
# (packages.cmake): the libraries into core and widgets, what hosts build
# with into dev.
install(TARGETS quenvarspell EXPORT QuenvarSpellTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT core NAMELINK_COMPONENT dev)
if(QUENVAR_WITH_DIALOG)
  # Installed beside the component, which loads it from its own folder.
  install(TARGETS quenvarspell_widgets EXPORT QuenvarSpellTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT widgets NAMELINK_COMPONENT dev)
  install(FILES ${QUENVAR_GENERATED_INCLUDE}/quenvarspell/widgets_export.h
                ${QUENVAR_PUBLIC_INCLUDE}/quenvarspell/spell_highlighter.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quenvarspell COMPONENT dev)
endif()
foreach(header IN LISTS QUENVAR_PUBLIC_HEADERS)
  install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quenvarspell COMPONENT dev)
endforeach()
install(FILES ${QUENVAR_GENERATED_INCLUDE}/quenvarspell/export.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quenvarspell COMPONENT dev)

install(EXPORT QuenvarSpellTargets NAMESPACE QuenvarSpell::
  DESTINATION ${QUENVAR_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QuenvarSpellConfig.cmake.in
  ${PROJECT_BINARY_DIR}/QuenvarSpellConfig.cmake
  INSTALL_DESTINATION ${QUENVAR_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuenvarSpellConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QuenvarSpellConfig.cmake
              ${PROJECT_BINARY_DIR}/QuenvarSpellConfigVersion.cmake
  DESTINATION ${QUENVAR_CMAKE_DIR} COMPONENT dev)

# The file names its prefix relative to itself, so the package can be moved.
file(RELATIVE_PATH QUENVAR_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" QUENVAR_PC_TO_PREFIX ${QUENVAR_PC_TO_PREFIX})
configure_file(${CMAKE_CURRENT_LIST_DIR}/quenvarspell.pc.in
  ${PROJECT_BINARY_DIR}/quenvarspell.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quenvarspell.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
if(QUENVAR_WITH_DIALOG)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/quenvarspell-widgets.pc.in
    ${PROJECT_BINARY_DIR}/quenvarspell-widgets.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/quenvarspell-widgets.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
endif()
