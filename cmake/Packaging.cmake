# SPDX-License-Identifier: MIT
# Manual pages, the licence and changelog where Debian looks for them, and
# the .deb package (cpack -G DEB from a Release build with
# CMAKE_INSTALL_PREFIX=/usr).

# Compressed without a name or time stamp, so equal sources give equal bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(_gzipped)
foreach(source docs/man/velmix.1 docs/man/velmix-render.1 packaging/changelog)
  get_filename_component(_name ${source} NAME)
  set(_gz ${CMAKE_BINARY_DIR}/packaging/${_name}.gz)
  add_custom_command(OUTPUT ${_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND ${GZIP_PROGRAM} -9nc ${PROJECT_SOURCE_DIR}/${source} > ${_gz}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
  list(APPEND _gzipped ${_gz})
endforeach()
add_custom_target(velmix_packaging_files ALL DEPENDS ${_gzipped})

install(FILES ${CMAKE_BINARY_DIR}/packaging/velmix.1.gz
  ${CMAKE_BINARY_DIR}/packaging/velmix-render.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME velmix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmix developers")
set(CPACK_PACKAGE_CONTACT "Velmix developers <dev@velmix.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://velmix.org/")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# Folders as Debian has them, whatever the packager's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmix developers <dev@velmix.org>")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "maker of linear colour gradients for web page backgrounds
Velmix is a small desktop tool for linear colour gradients, chiefly as
background images for web pages. Up to seven colour points lie on one axis;
the result is shown at once, and a tiled view shows it as a page background
with sample text over it and the text's lowest contrast on the gradient.

Gradients are saved as BMP, JPEG or PNG at any thickness, copied to the
clipboard, or written as CSS and SVG that a browser draws within one level
of the PNG (browsers dither gradients). The command-line program
velmix-render makes the same files without a window. The interface is
Japanese on a Japanese desktop or without a language, English on any other,
and switches at once from the View menu.")
# What the binaries link, found by dpkg-shlibdeps, and what they load at run
# time: the designed faces' stand-ins and Qt's own texts in Japanese.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_GENERATOR DEB)
include(CPack)
