# The portable event package: `cmake --build <build> --target package` makes
# prizedraw-<version>-linux-x86_64.tar.gz. Its one folder is an event folder as it stands:
# the program, an empty photo/ folder, the operator guide, a launcher and the icon.
install(TARGETS prizedraw RUNTIME DESTINATION .)
install(DIRECTORY DESTINATION photo)
install(FILES
  ${CMAKE_SOURCE_DIR}/docs/操作指南.md
  ${CMAKE_SOURCE_DIR}/docs/operator-guide.md
  DESTINATION guide)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/screenshots DESTINATION guide
  FILES_MATCHING PATTERN "*.png")
install(FILES
  ${CMAKE_SOURCE_DIR}/app/resources/prizedraw.desktop
  ${CMAKE_SOURCE_DIR}/app/resources/prizedraw.png
  ${CMAKE_SOURCE_DIR}/app/resources/prizedraw.svg
  DESTINATION .)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/app/resources/add-to-menu.sh DESTINATION .)

set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME prizedraw)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME prizedraw-${PROJECT_VERSION}-linux-x86_64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
