# The Windows programs in one zip an operator unpacks anywhere: both programs side by side with
# the manual, the sample logo and a short read-me, in one folder (`cpack` in the build folder).
# make windows builds the two programs first; the package does not build the tests too.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
install(TARGETS quarvel quarvel-cli RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/docs/quarvel.html ${PROJECT_SOURCE_DIR}/docs/sample_logo.gif
    DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/docs/windows_readme.txt DESTINATION . RENAME README.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quarvel)
set(CPACK_PACKAGE_VENDOR "Quarvel project")
set(CPACK_PACKAGE_FILE_NAME quarvel-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
