# Install rules for the programs built elsewhere in the tree, and the Debian package.
include(GNUInstallDirs)

foreach(program quarvel-cli ktv-sim)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarvel)
set(CPACK_PACKAGE_VENDOR "Quarvel project")
set(CPACK_PACKAGE_CONTACT "Quarvel project <quarvel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Program loader for KTV-271 flash devices on a MIDI channel")
# One string: two would be joined into a list, and the ";" between them shown as a line.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Loads S-record program files and GIF logos into KTV-271 devices over RS232:\n"
    "quarvel (desktop), quarvel-cli (command line) and ktv-sim (a stand-in device).")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Liberation Sans stands in for the dialogs' "Arial" with the same metrics.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The package installs under /usr; the program finds its help page relative to itself.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
