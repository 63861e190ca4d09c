# cmake --install (native and cross builds): the static libraries, the public headers with
# the runtime headers they stand on (include/zadeve/detail), the zadeve tool and a package
# config, so that a host
#   find_package(zadeve CONFIG REQUIRED)
#   target_link_libraries(app PRIVATE zadeve::zadeve)
# gets the library, the reference host and everything they link.

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

if(PROJECT_VERSION)
  set(ZADEVE_PACKAGE_VERSION ${PROJECT_VERSION})
else()
  set(ZADEVE_PACKAGE_VERSION 0.1.0)
endif()

# zadeve::zadeve: what a host links. The layers come along as its link dependencies.
add_library(zadeve_package INTERFACE)
target_link_libraries(zadeve_package INTERFACE zadeve_host zadeve)
target_include_directories(zadeve_package INTERFACE
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/zadeve/detail>)
set_target_properties(zadeve_package PROPERTIES EXPORT_NAME zadeve)
set_target_properties(zadeve PROPERTIES EXPORT_NAME library)
foreach(layer automation platform components vizevore host)
  set_target_properties(zadeve_${layer} PROPERTIES EXPORT_NAME ${layer})
endforeach()

set(ZADEVE_PACKAGE_TARGETS zadeve_package zadeve zadeve_host zadeve_vizevore zadeve_components zadeve_platform
                           zadeve_automation)
if(TARGET zadeve_stb)  # the cross build compiles the decoder in
  list(APPEND ZADEVE_PACKAGE_TARGETS zadeve_stb)
endif()
install(TARGETS ${ZADEVE_PACKAGE_TARGETS}
        EXPORT zadeveTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
if(TARGET zadeve_cli)
  install(TARGETS zadeve_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# zadeve/win32_host.h only where a Win32 host can use it.
if(WIN32)
  install(DIRECTORY include/zadeve DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
else()
  install(DIRECTORY include/zadeve DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} PATTERN win32_host.h EXCLUDE)
endif()
# The runtime's declarations behind zadeve/automation.h; they include nothing else of src/.
install(FILES src/automation/conversions.h src/automation/dispatch.h src/automation/error.h
              src/automation/member_table.h src/automation/object.h src/automation/variant.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zadeve/detail/automation)

set(ZADEVE_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/zadeve)
install(EXPORT zadeveTargets NAMESPACE zadeve:: DESTINATION ${ZADEVE_CONFIG_DIR})
configure_package_config_file(cmake/zadeveConfig.cmake.in ${PROJECT_BINARY_DIR}/zadeveConfig.cmake
                              INSTALL_DESTINATION ${ZADEVE_CONFIG_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/zadeveConfigVersion.cmake
                                 VERSION ${ZADEVE_PACKAGE_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/zadeveConfig.cmake ${PROJECT_BINARY_DIR}/zadeveConfigVersion.cmake
        DESTINATION ${ZADEVE_CONFIG_DIR})
