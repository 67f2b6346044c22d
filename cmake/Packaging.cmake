# SPDX-License-Identifier: MIT
# Debian packages of the install components (cpack -G DEB, or the "package" target):
#   printer-settings-cli  the tool, the emulator, schemes, demo printers, docs (no Qt)
#   printer-settings      the program with its windows; depends on printer-settings-cli
# dpkg-shlibdeps computes the libraries' packages from the binaries.
set(PS_PACKAGE_MAINTAINER "Printer Settings maintainers <printer-settings@example.org>"
    CACHE STRING "The Maintainer field of the Debian packages")

# The packages carry packaging/debian/changelog: its latest entry must be this version.
file(STRINGS "${PROJECT_SOURCE_DIR}/packaging/debian/changelog" latest LIMIT_COUNT 1)
if(NOT latest MATCHES "^printer-settings \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/debian/changelog has no entry for version ${PROJECT_VERSION}")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME printer-settings)
set(CPACK_PACKAGE_VENDOR "Printer Settings maintainers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/packages")

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli)
if(PS_BUILD_UI)
    list(APPEND CPACK_COMPONENTS_ALL windows)
endif()
set(CPACK_COMPONENT_WINDOWS_DEPENDS cli)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PS_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PS_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME printer-settings-cli)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_CLI_DESCRIPTION
    "set up invoice, passbook and inkjet printers from the command line
printer-settings-tool reads and writes every setting of invoice, passbook and
inkjet printers by name, through the printer's own command channel, and
carries a printer's whole menu to another as JSON. printer-emulator serves an
emulated printer for tests and training. With the printers' menu schemes, the
demo printers and the documentation; it needs no windowing toolkit, so a
server or a script host installs it alone.")

set(CPACK_DEBIAN_WINDOWS_PACKAGE_NAME printer-settings)
set(CPACK_DEBIAN_WINDOWS_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_WINDOWS_DESCRIPTION
    "set up invoice, passbook and inkjet printers
Printer Settings is the desktop utility with which technicians set up and
maintain invoice, passbook and inkjet printers through the printer's own
command channel. It reads the printer model's menu scheme, shows every
setting, reads the current value from the printer, writes the chosen one and
confirms it; inkjet printers add ink maintenance and device functions.
printer-settings --demo opens it on emulated printers.")

include(CPack)
