# The installed layout and its Debian package:
#   bin/quillmark, bin/quillmark-cli
#   share/quillmark/QMKData            the shipped data, read only
#   share/applications/quillmark.desktop
#   share/icons/hicolor/64x64/apps/quillmark.png
# An installed editor writes nothing beside itself: its settings, default
# configuration, rewritten tree and icons go to the user's data folder.
include(GNUInstallDirs)

install(TARGETS quillmark quillmark-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# From the source tree: the build folder's QMKData also holds what runs wrote.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/QMKData DESTINATION ${CMAKE_INSTALL_DATADIR}/quillmark)
install(FILES ${PROJECT_SOURCE_DIR}/app/quillmark.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/lang/Quillmark.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps RENAME quillmark.png)

set(QUILLMARK_PACKAGE_CONTACT "Quillmark maintainers" CACHE STRING
    "Maintainer of the Debian package")
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR "Quillmark")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Hotkey editor for Warcraft III")
set(CPACK_PACKAGE_CONTACT "${QUILLMARK_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION "Quillmark edits the game's CustomKeys.txt: the hotkeys, tooltips and
button positions of every action, with hotkey clashes found per command
card. It comes with the command-line companion quillmark-cli.")
set(CPACK_STRIP_FILES ON)
include(CPack)
