# SPDX-License-Identifier: MIT
# The install step (cmake --install), in the GNU install directories, in two components:
# "cli" (package printer-settings-cli: the tool, the emulator, schemes, demo printers, docs)
# and "windows" (package printer-settings: the program with its windows and desktop files).
# The shipped data is staged in the build tree too (PS_DATA_STAGE), so the programs there find
# it at the same place relative to themselves.

# Installs FILES into DESTINATION below the data folder and stages them in the build tree.
function(ps_install_data component destination)
    foreach(file IN LISTS ARGN)
        get_filename_component(name "${file}" NAME)
        configure_file("${file}" "${PS_DATA_STAGE}/${destination}/${name}" COPYONLY)
    endforeach()
    install(FILES ${ARGN} DESTINATION "${PS_DATA_DIR}/${destination}" COMPONENT ${component})
endfunction()

set(PS_DOC_CLI "${CMAKE_INSTALL_DATADIR}/doc/printer-settings-cli")
set(PS_DOC_WINDOWS "${CMAKE_INSTALL_DATADIR}/doc/printer-settings")
set(PS_CHANGELOG "${CMAKE_BINARY_DIR}/packaging/changelog.gz")

# --- printer-settings-cli
install(TARGETS printer-settings-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
if(TARGET printer-emulator)
    install(TARGETS printer-emulator RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
endif()

set(PS_SCHEMES resources/Scheme/QR-520_Settings.Dat resources/Scheme/QJ-760_Settings.Dat
               resources/Scheme/QJ-760_Menu.Dat)
list(TRANSFORM PS_SCHEMES PREPEND "${PROJECT_SOURCE_DIR}/")
ps_install_data(cli "Scheme" ${PS_SCHEMES})
ps_install_data(cli "emulation/demo" ${PROJECT_SOURCE_DIR}/resources/emulation/demo/emulation.ini)
ps_install_data(cli "emulation/demo/program"
                ${PROJECT_SOURCE_DIR}/resources/emulation/demo/program/printer-settings.ini)

# The default printer driver directory (docs/linux.md): the model schemes under 3/, as copies
# of the shipped ones (a scheme is never read through a link at the end of its path). Installed
# only, so a build tree keeps the machine's directory.
foreach(model QR-520 QJ-760)
    install(FILES "${PROJECT_SOURCE_DIR}/resources/Scheme/${model}_Settings.Dat"
            DESTINATION "${PS_DATA_DIR}/drivers/3" COMPONENT cli)
endforeach()

install(FILES "${PROJECT_SOURCE_DIR}/resources/completion/printer-settings-tool"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions" COMPONENT cli)

install(FILES "${PROJECT_SOURCE_DIR}/README.md" DESTINATION ${PS_DOC_CLI} COMPONENT cli)
install(FILES docs/command-line.md docs/emulation.md docs/emulator.md docs/linux.md
              docs/schemes.md
        DESTINATION "${PS_DOC_CLI}/docs" COMPONENT cli)
install(DIRECTORY docs/screenshots DESTINATION "${PS_DOC_CLI}/docs" COMPONENT cli)

# --- printer-settings
install(TARGETS printer-settings RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT windows)
ps_install_data(windows "." ${PROJECT_SOURCE_DIR}/resources/printer-settings.ini)

# The metainfo's release is the changelog's latest entry.
file(STRINGS "${PROJECT_SOURCE_DIR}/packaging/debian/changelog" trailer REGEX "^ -- " LIMIT_COUNT 1)
if(NOT trailer MATCHES "  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    message(FATAL_ERROR "packaging/debian/changelog: no date in its latest entry")
endif()
set(day ${CMAKE_MATCH_1})
set(year ${CMAKE_MATCH_3})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1")
string(REGEX REPLACE "^([0-9])$" "0\\1" month "${month}")
string(REGEX REPLACE "^([0-9])$" "0\\1" day "${day}")
set(PS_RELEASE_DATE "${year}-${month}-${day}")
set(PS_SCREENSHOT_URL "${PS_HOMEPAGE}/screenshots/main-window-en.png")

if(PS_BUILD_UI)
    configure_file(resources/desktop/printer-settings.desktop.in
                   "${CMAKE_BINARY_DIR}/packaging/${PS_APP_ID}.desktop" @ONLY)
    configure_file(resources/desktop/printer-settings.metainfo.xml.in
                   "${CMAKE_BINARY_DIR}/packaging/${PS_APP_ID}.metainfo.xml" @ONLY)
    install(FILES "${CMAKE_BINARY_DIR}/packaging/${PS_APP_ID}.desktop"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/applications" COMPONENT windows)
    install(FILES "${CMAKE_BINARY_DIR}/packaging/${PS_APP_ID}.metainfo.xml"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo" COMPONENT windows)
    install(FILES resources/desktop/printer-settings.svg
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
            RENAME "${PS_APP_ID}.svg" COMPONENT windows)
    if(TARGET ps_app_icons)
        install(DIRECTORY "${PS_ICON_OUTPUT}/" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor"
                COMPONENT windows)
    endif()
endif()

# --- both: manual pages, copyright and changelog
if(TARGET ps_manual_pages)
    install(FILES "${PS_MAN_OUTPUT}/printer-settings.1.gz"
            DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT windows)
    install(FILES "${PS_MAN_OUTPUT}/printer-settings-tool.1.gz"
            DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT cli)
    if(TARGET printer-emulator)
        install(FILES "${PS_MAN_OUTPUT}/printer-emulator.1.gz"
                DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT cli)
    endif()
endif()
if(PS_GZIP)
    add_custom_command(
        OUTPUT "${PS_CHANGELOG}"
        COMMAND ${PS_GZIP} -9nc "${PROJECT_SOURCE_DIR}/packaging/debian/changelog" > "${PS_CHANGELOG}"
        DEPENDS "${PROJECT_SOURCE_DIR}/packaging/debian/changelog"
        COMMENT "Compressing the changelog")
    add_custom_target(ps_changelog ALL DEPENDS "${PS_CHANGELOG}")
    foreach(component cli windows)
        if(component STREQUAL cli)
            set(doc ${PS_DOC_CLI})
        else()
            set(doc ${PS_DOC_WINDOWS})
        endif()
        install(FILES "${PROJECT_SOURCE_DIR}/packaging/debian/copyright" "${PS_CHANGELOG}"
                DESTINATION ${doc} COMPONENT ${component})
    endforeach()
endif()
