# The cross build: the layers under the COM server, ZADEVE.dll with its type library, and
# the tool zadeve.exe.
# The IDL comes from the member tables: ZADEVE_IDL_GENERATOR is the host-built tools/
# program (./run builds it first), so the tables stay the one description.

enable_language(C RC)
include(cmake/layers.cmake)

set(ZADEVE_IDL_GENERATOR "" CACHE FILEPATH "The host-built zadeve_idl program")
set(ZADEVE_WINE_DLLS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH
    "Where widl finds stdole2.tlb")
if(NOT ZADEVE_IDL_GENERATOR)
  message(FATAL_ERROR "Set ZADEVE_IDL_GENERATOR to the native build's tools/zadeve_idl")
endif()

# Debian's libstb is a Linux library: the decoder and writer are compiled in.
find_path(STB_INCLUDE_DIR stb_image.h PATH_SUFFIXES stb REQUIRED NO_CMAKE_FIND_ROOT_PATH)
include_directories(SYSTEM ${STB_INCLUDE_DIR})
add_library(zadeve_stb STATIC src/platform/stb_implementation_win32.c)

zadeve_layer(automation)
zadeve_layer(platform DEPS zadeve_automation zadeve_stb ole32 uuid comctl32)  # ole32, uuid: the imaging component; comctl32: watching a host's window
zadeve_layer(components DEPS zadeve_platform zadeve_automation)
zadeve_layer(vizevore DEPS zadeve_platform zadeve_automation)
file(GLOB ZADEVE_LIB_SOURCES CONFIGURE_DEPENDS
  src/core/*.cpp src/build/*.cpp src/bars/*.cpp src/palette/*.cpp
  src/functions/*.cpp src/workspace/*.cpp)
zadeve_library(zadeve SOURCES ${ZADEVE_LIB_SOURCES}
  DEPS zadeve_components zadeve_platform zadeve_automation user32 gdi32)
zadeve_layer(host DEPS zadeve zadeve_vizevore comctl32)  # comctl32: the toolbar's tooltips

# The tool, zadeve.exe. CLI11 is header-only: Debian's headers are copied beside the build,
# so that they and nothing else of /usr/include join the cross compiler's search path.
find_path(CLI11_INCLUDE_DIR CLI/CLI.hpp REQUIRED NO_CMAKE_FIND_ROOT_PATH)
file(COPY ${CLI11_INCLUDE_DIR}/CLI DESTINATION ${CMAKE_CURRENT_BINARY_DIR}/cli11)
include(cmake/tool.cmake)
target_include_directories(zadeve_cli_commands SYSTEM PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/cli11)

# IDL -> type library and the GUID definitions.
set(gen ${CMAKE_CURRENT_BINARY_DIR}/typelib)
set(widl ${ZADEVE_WIDL} --win64 -I${PROJECT_SOURCE_DIR}/src/com -L ${ZADEVE_WINE_DLLS})
add_custom_command(OUTPUT ${gen}/zadeve.idl
  COMMAND ${CMAKE_COMMAND} -E make_directory ${gen}
  COMMAND ${ZADEVE_IDL_GENERATOR} ${gen}/zadeve.idl
  DEPENDS ${ZADEVE_IDL_GENERATOR}
  COMMENT "Writing the IDL from the member tables")
add_custom_command(OUTPUT ${gen}/zadeve.tlb ${gen}/zadeve_i.c
  COMMAND ${widl} -t -o ${gen}/zadeve.tlb ${gen}/zadeve.idl
  COMMAND ${widl} -u -o ${gen}/zadeve_i.c ${gen}/zadeve.idl
  DEPENDS ${gen}/zadeve.idl ${PROJECT_SOURCE_DIR}/src/com/zadeve_prelude.idl
  COMMENT "Compiling the type library")
file(WRITE ${gen}/zadeve.rc.in "1 TYPELIB \"zadeve.tlb\"\n")
configure_file(${gen}/zadeve.rc.in ${gen}/zadeve.rc COPYONLY)
set_source_files_properties(${gen}/zadeve.rc PROPERTIES OBJECT_DEPENDS ${gen}/zadeve.tlb)

# The binding's objects go into the DLL and into the compiled checks of tests/com, which
# reach the bridge directly and carry the type library as the DLL does.
file(GLOB ZADEVE_COM_SOURCES CONFIGURE_DEPENDS src/com/*.cpp)
add_library(zadeve_com_objects OBJECT ${ZADEVE_COM_SOURCES} ${gen}/zadeve_i.c)
target_include_directories(zadeve_com_objects PUBLIC ${gen})
target_link_libraries(zadeve_com_objects PUBLIC zadeve_host zadeve zadeve_vizevore
  ole32 oleaut32 uuid advapi32 user32 gdi32)

add_library(zadeve_com SHARED ${gen}/zadeve.rc src/com/zadeve.def)
set_target_properties(zadeve_com PROPERTIES OUTPUT_NAME ZADEVE PREFIX "")
target_link_libraries(zadeve_com PRIVATE zadeve_com_objects)

# Each tests/com/<name>.cpp is a console program the Wine runner starts; those of
# tests/com/windows/ need a display and are started by that folder's scripts.
file(GLOB ZADEVE_COM_CHECKS CONFIGURE_DEPENDS tests/com/*.cpp tests/com/windows/*.cpp)
foreach(source ${ZADEVE_COM_CHECKS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source} ${gen}/zadeve.rc)
  target_link_libraries(${name} PRIVATE zadeve_com_objects)
endforeach()

# The benchmarks under Wine: a palette's real window (bench/wine_palette_bench.sh) and the
# repaint of a bar in its window (bench/wine_toolbar_bench.sh).
add_executable(wine_palette_bench bench/wine_palette_bench.cpp)
target_link_libraries(wine_palette_bench PRIVATE zadeve_com_objects)
add_executable(wine_toolbar_repaint bench/wine_toolbar_repaint.cpp)
target_include_directories(wine_toolbar_repaint PRIVATE ${PROJECT_SOURCE_DIR}/bench)
target_link_libraries(wine_toolbar_repaint PRIVATE zadeve_host)

# examples/win32: a Win32 program of its own with the diagram editor's bars on its window.
add_executable(diagram_win32 examples/win32/main.cpp)
target_link_libraries(diagram_win32 PRIVATE zadeve_host)

# cmake --install: the libraries, the public headers (zadeve/win32_host.h among them) and
# the package config, for Win32 hosts built with the same toolchain.
include(cmake/package.cmake)
