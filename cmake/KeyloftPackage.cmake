# The Debian package: `cpack -G DEB` in the build folder (scripts/package) packs what
# `cmake --install` puts in place, under /usr. Its dependencies are those dpkg-shlibdeps finds for
# the programs' shared libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME keyloft)
set(CPACK_PACKAGE_VENDOR Quellmoor)
set(CPACK_PACKAGE_CONTACT "Quellmoor Keyloft developers <keyloft@quellmoor.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "password manager that types passwords into other windows")
set(CPACK_PACKAGE_DESCRIPTION
    "Keyloft keeps the user names and passwords of computers, web sites and accounts in one
password file, optionally protected by a master password, and types a stored user name or
password into another program's window key by key, never through the clipboard. It stays at
hand in the system tray and on a global hot key. keyloft-cli reads and writes password files
from scripts and exchanges entries with other password managers as CSV.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # keyloft_<version>-<revision>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt draws the SVG icons through a plugin, which dpkg-shlibdeps cannot see; it joins the list.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
include(CPack)
