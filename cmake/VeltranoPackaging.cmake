# `cpack` (or `cmake --build build --target package`) builds a Debian package of what
# `cmake --install` lays out under /usr.
if(NOT TARGET veltrano)
  return()
endif()

set(VELTRANO_PACKAGE_MAINTAINER "Veltrano maintainers <maintainers@veltrano.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrano)
set(CPACK_PACKAGE_VENDOR Veltrano)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reference viewer of Russian contract templates")
set(CPACK_PACKAGE_DESCRIPTION
    "Veltrano carries 70 Russian business-contract templates and related\n"
    "papers: protocols of disagreements, letters, supply, lease, services,\n"
    "agency and many more. Pick a document in the catalogue to read it, then\n"
    "hand it to your word processor under its own title.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELTRANO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links against come from dpkg-shlibdeps; libqt6gui6 also brings
# the X11 platform plugin. Added by hand: the Arial- and Times-compatible faces with
# Cyrillic, and xdg-open for Send to Word.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, xdg-utils")
# Native Wayland windows; without it Qt draws through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, hicolor-icon-theme")

include(CPack)
