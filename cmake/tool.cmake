# The command-line tool: its commands form a library (tested natively in tests/cli),
# main.cpp the program. The same in the native and the cross build; a command's
# system-dependent half sits in <name>_posix.cpp or <name>_win32.cpp.
file(GLOB ZADEVE_CLI_SOURCES CONFIGURE_DEPENDS src/cli/*.cpp)
list(REMOVE_ITEM ZADEVE_CLI_SOURCES ${PROJECT_SOURCE_DIR}/src/cli/main.cpp)
zadeve_system_sources(ZADEVE_CLI_SOURCES ${ZADEVE_CLI_SOURCES})
zadeve_library(zadeve_cli_commands SOURCES ${ZADEVE_CLI_SOURCES} DEPS zadeve_host zadeve zadeve_vizevore)
target_compile_definitions(zadeve_cli_commands PRIVATE ZADEVE_VERSION="${PROJECT_VERSION}")
if(TARGET CLI11::CLI11)
  target_link_libraries(zadeve_cli_commands PUBLIC CLI11::CLI11)
endif()
add_executable(zadeve_cli src/cli/main.cpp)
set_target_properties(zadeve_cli PROPERTIES OUTPUT_NAME zadeve)
target_link_libraries(zadeve_cli PRIVATE zadeve_cli_commands)
