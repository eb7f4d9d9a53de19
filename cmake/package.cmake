# `cpack -G DEB` in a build tree: a Debian package of the install rules, for
# /usr, with its library dependencies read from the binary by dpkg-shlibdeps.
set(KELPO_PACKAGE_MAINTAINER "kelpo-widget maintainers <maintainers@kelpo.app>"
    CACHE STRING "Who the Debian package names as its maintainer")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelpo-widget)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${KELPO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The install writes below /etc for /usr (the autostart entry), so CPack
# stages with DESTDIR and the real prefix rather than a prefix inside the
# staging tree.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop widget of the kelpo watch-and-sort application")
# CPack puts the summary first and indents these lines itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Shows at a glance what the kelpo application has waiting: how many items
wait to be sorted and the first of them, the week's reading programme and
its progress as a ring with the mascot, and when the next search runs.
Small or medium, light or dark, in French (English phrases included).
Starts at login; ships the Bricolage Grotesque display font (SIL OFL 1.1).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The system font is Inter; no library names it, so dpkg-shlibdeps cannot.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-inter")
# The autostart entry is the administrator's to edit or turn off; dpkg keeps
# such changes across upgrades.
file(WRITE "${CMAKE_BINARY_DIR}/debian/conffiles" "/etc/xdg/autostart/kelpo-widget.desktop\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_BINARY_DIR}/debian/conffiles")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
