# Desktop integration: the launcher entry and the application icon go where
# freedesktop.org desktops look for them (the executable itself is installed
# with its target). The entry's file name is the application id, so desktops
# match the running window to it.
include(GNUInstallDirs)
install(FILES ${PROJECT_SOURCE_DIR}/data/com.pellowright.meridavolt.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/com.pellowright.meridavolt.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
