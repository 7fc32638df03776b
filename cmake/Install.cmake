# What `cmake --install` puts under the prefix:
#   bin/quirtel, bin/quirtel-score, bin/quirtel-launch (starts quirtel in the
#   user's working folder), share/quirtel/datos/ (word list, word
#   frequencies, sounds and the texts to copy in textos/),
#   share/doc/quirtel/manual.html, the manual pages (man1, es/man1), the
#   desktop entry, its AppStream metadata and the icon.
# The about box looks for the manual at <bin>/../share/doc/quirtel, and the
# launcher for the data at <bin>/../share/quirtel/datos.
include(GNUInstallDirs)

if(TARGET quirtel)
    install(TARGETS quirtel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET quirtel-score)
    install(TARGETS quirtel-score RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(PROGRAMS ${PROJECT_SOURCE_DIR}/tools/quirtel-launch DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY ${PROJECT_SOURCE_DIR}/datos/ DESTINATION ${CMAKE_INSTALL_DATADIR}/quirtel/datos
        FILES_MATCHING PATTERN "*.dic" PATTERN "*.wav" PATTERN "frecuencias.txt"
        REGEX "/textos/[^/]+\\.txt$")
install(FILES ${PROJECT_SOURCE_DIR}/docs/manual.html
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quirtel)
if(QUIRTEL_BUILD_MAN)
    install(DIRECTORY ${QUIRTEL_MAN_DIR}/ DESTINATION ${CMAKE_INSTALL_MANDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/src/res/${QUIRTEL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/res/${QUIRTEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/src/res/icons/quirtel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
