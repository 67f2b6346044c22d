# SPDX-License-Identifier: MIT
# Where the install step puts things (the GNU install directories), and the names the install
# rules (Install.cmake) and the packages (Packaging.cmake) share. Included before the
# subdirectories: the programs compile in where their shipped files lie relative to them.
include(GNUInstallDirs)

# The shipped files: schemes, the demo emulation directory, the windows' local options.
set(PS_DATA_DIR "${CMAKE_INSTALL_DATADIR}/printer-settings")
# ... as the programs find it from their own folder ("../share/printer-settings").
file(RELATIVE_PATH PS_DATA_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_FULL_DATADIR}/printer-settings")
# The same files staged in the build tree, so the programs find them there too.
set(PS_DATA_STAGE "${CMAKE_BINARY_DIR}/${CMAKE_INSTALL_DATADIR}/printer-settings")
# Files made at build time for the install step: manual pages, icons.
set(PS_MAN_OUTPUT "${CMAKE_BINARY_DIR}/man")
set(PS_ICON_OUTPUT "${CMAKE_BINARY_DIR}/icons")

set(PS_APP_ID "org.example.printersettings" CACHE STRING
    "Reverse-DNS name of the desktop entry, icon and AppStream metainfo")
set(PS_HOMEPAGE "https://example.org/printer-settings" CACHE STRING
    "The project's web address (metainfo, package); the metainfo's screenshot lies below it")

# Two packages: "windows" (printer-settings, Qt) and "cli" (printer-settings-cli: the tool,
# the emulator, schemes, docs). An install rule that names no component belongs to "cli".
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME cli)
