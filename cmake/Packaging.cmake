# `make package` (cmake --build build --target package): a Debian package of everything that
# `cmake --install` puts in place, the simulator aside.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumetto-keypad)
set(CPACK_PACKAGE_VENDOR Orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvane <lumetto-keypad@orvane.com>" CACHE STRING "Maintainer of the Debian package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Lumetto networked wall keypads")
set(CPACK_PACKAGE_DESCRIPTION
    "The Lumetto Keypad Effect Manager finds Lumetto wall keypads on the local network, connects to one, \
and edits its eight lighting scenes and its system configuration. It saves and loads whole \
configurations as files, restores factory defaults and offers an offline demo.\n\
lumetto-keypad-cli finds, backs up and restores keypads from a shell.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://orvane.com/lumetto-keypad/)
# The libraries the programs link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The product guide opens in the desktop's PDF viewer; Qt's own texts (standard buttons, file
# dialogs) in the user's language come with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qttranslations5-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The default components only: the simulator's stays out.
set(CPACK_COMPONENTS_ALL Unspecified)
include(CPack)
