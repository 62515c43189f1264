# Installing and packing: `cmake --install` and `cpack` (a ZIP). On Windows the programs go to
# the top of the folder, and the desktop program gets the Qt libraries and plug-ins beside it
# through windeployqt, so the unpacked ZIP runs without Qt installed.
if(WIN32)
  set(SKENBRUS_INSTALL_BIN .)
  set(SKENBRUS_INSTALL_DATA .)
else()
  include(GNUInstallDirs)
  set(SKENBRUS_INSTALL_BIN ${CMAKE_INSTALL_BINDIR})
  set(SKENBRUS_INSTALL_DATA ${CMAKE_INSTALL_DATADIR}/skenbrus)
endif()

install(TARGETS skenbrus-cli RUNTIME DESTINATION ${SKENBRUS_INSTALL_BIN})
install(FILES ${PROJECT_SOURCE_DIR}/examples/stationsvagen.sdb ${PROJECT_SOURCE_DIR}/examples/minimal.sdb
        DESTINATION ${SKENBRUS_INSTALL_DATA}/exempel)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${SKENBRUS_INSTALL_DATA})

if(SKENBRUS_GUI)
  install(TARGETS skenbrus RUNTIME DESTINATION ${SKENBRUS_INSTALL_BIN})
  if(WIN32)
    get_target_property(SKENBRUS_QMAKE Qt6::qmake IMPORTED_LOCATION)
    get_filename_component(SKENBRUS_QT_BIN "${SKENBRUS_QMAKE}" DIRECTORY)
    find_program(SKENBRUS_WINDEPLOYQT windeployqt HINTS "${SKENBRUS_QT_BIN}" REQUIRED)
    install(CODE "
      execute_process(COMMAND \"${SKENBRUS_WINDEPLOYQT}\" --release --no-translations
                              \"\${CMAKE_INSTALL_PREFIX}/skenbrus.exe\" COMMAND_ERROR_IS_FATAL ANY)")
  endif()
endif()

set(CPACK_PACKAGE_NAME Skenbrus)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Buller från spårtrafik enligt den nordiska beräkningsmodellen")
if(WIN32)
  set(CPACK_PACKAGE_FILE_NAME Skenbrus-${PROJECT_VERSION}-windows-x64)
else()
  set(CPACK_PACKAGE_FILE_NAME Skenbrus-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR})
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
