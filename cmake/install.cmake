# What `cmake --install` puts into the prefix, and the Debian package built from it by CPack.
include(GNUInstallDirs)

set(PIGMORA_APP_ID org.example.pigmora)
set(desktop ${PROJECT_SOURCE_DIR}/resources/desktop)
set(icons ${PROJECT_SOURCE_DIR}/resources/icons)

# The command-line tool beside the program: it finds the program's scheme file by its place.
install(TARGETS pigmora pigmora-schemes RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${desktop}/${PIGMORA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/${PIGMORA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 128)
    install(FILES ${icons}/pigmora-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${PIGMORA_APP_ID}.png)
endforeach()
install(FILES ${icons}/pigmora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${PIGMORA_APP_ID}.svg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pigmora)
set(CPACK_PACKAGE_VENDOR "Das Pigmora-Team")
set(CPACK_PACKAGE_CONTACT "Das Pigmora-Team <team@pigmora.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.pigmora.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Farbschemata für Webseiten zusammenstellen")
set(CPACK_PACKAGE_DESCRIPTION
    "Pigmora mischt Text- und Hintergrundfarben für Webseiten aus Rot, Grün und Blau, zeigt sie \
auf einem Mustertext und speichert Paare als Farbschemata.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries it links are found by dpkg-shlibdeps; the fonts it draws with are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# pigmora-schemes audit and "Seite prüfen" draw pages with it; nothing else needs it.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "chromium")
include(CPack)
