# Debian packages made by CPack from the install rules (scripts/package),
# split as Debian splits a library: each library its own package named for
# its soname, the files hosts build with in -dev, the tool, and the Enchant
# provider. Made from a build for /usr, whose libraries GNUInstallDirs puts
# into the multiarch folder where Debian's loader and Enchant look.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Each package's description below starts with its own summary line.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_PACKAGE_CONTACT "QuenvarSpell maintainers <maintainers@quenvarspell.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Where dpkg-shlibdeps finds the libraries of the other packages; they
# depend on each other through their components instead.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_STRIP_FILES ON)
# Debian has the loader's cache refreshed through a trigger.
set(QUENVAR_LIBRARY_CONTROL ${CMAKE_CURRENT_LIST_DIR}/debian/triggers)

set(CPACK_DEBIAN_CORE_PACKAGE_NAME libquenvarspell${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_CORE_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_CORE_PACKAGE_CONTROL_EXTRA ${QUENVAR_LIBRARY_CONTROL})
# The suggestion dialog loads the widgets library when it is there.
set(CPACK_DEBIAN_CORE_PACKAGE_SUGGESTS libquenvarspell-widgets${PROJECT_VERSION_MAJOR})
set(CPACK_COMPONENT_CORE_DESCRIPTION "In-process English spell checking
QuenvarSpell checks English words and texts inside the program that links
it and offers ranked corrections, with its word list built in.")

set(CPACK_DEBIAN_WIDGETS_PACKAGE_NAME libquenvarspell-widgets${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_WIDGETS_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_WIDGETS_PACKAGE_CONTROL_EXTRA ${QUENVAR_LIBRARY_CONTROL})
set(CPACK_COMPONENT_WIDGETS_DEPENDS core)
set(CPACK_COMPONENT_WIDGETS_DESCRIPTION "Qt 6 widgets of QuenvarSpell
The suggestion dialog and a syntax highlighter that marks the unknown words
of a Qt text editor and offers corrections in its context menu.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libquenvarspell-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DEPENDS core)
if(QUENVAR_WITH_DIALOG)
  list(APPEND CPACK_COMPONENT_DEV_DEPENDS widgets)
endif()
set(CPACK_COMPONENT_DEV_DESCRIPTION "QuenvarSpell development files
The headers, the CMake package (find_package(QuenvarSpell)) and the
pkg-config files of the QuenvarSpell libraries.")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME quenvarspell)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION text)
set(CPACK_COMPONENT_TOOL_DEPENDS core)
set(CPACK_COMPONENT_TOOL_DESCRIPTION "English spell checker for terminals and editors
The quenvarspell tool checks files and lists their unknown words with
ranked corrections, fixes them, keeps a personal dictionary, and speaks the
Ispell pipe protocol.")

set(CPACK_DEBIAN_ENCHANT_PACKAGE_NAME libenchant-2-quenvarspell)
set(CPACK_DEBIAN_ENCHANT_PACKAGE_SECTION libs)
set(CPACK_COMPONENT_ENCHANT_DEPENDS core)
set(CPACK_DEBIAN_ENCHANT_PACKAGE_DEPENDS "${QUENVAR_ENCHANT_DEPENDS}")
set(CPACK_COMPONENT_ENCHANT_DESCRIPTION "QuenvarSpell provider for Enchant
Gives every Enchant client (gspell's GTK programs, WebKitGTK, LyX,
python3-enchant) QuenvarSpell's English dictionaries. quenvarspell-enchant
prefer makes Enchant choose it for English; quenvarspell-enchant undo
undoes that.")

# Each package's copyright notice and changelog.
get_cmake_property(components COMPONENTS)
set(QUENVAR_DOC_DIR ${PROJECT_BINARY_DIR}/debian)
file(READ ${PROJECT_SOURCE_DIR}/resources/scowl_copyright.txt QUENVAR_SCOWL_NOTICE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in ${QUENVAR_DOC_DIR}/copyright @ONLY)
execute_process(COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/debian/changelog
  OUTPUT_FILE ${QUENVAR_DOC_DIR}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
foreach(component IN LISTS components)
  string(TOUPPER ${component} upper)
  install(FILES ${QUENVAR_DOC_DIR}/copyright ${QUENVAR_DOC_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME}
    COMPONENT ${component})
endforeach()

include(CPack)
