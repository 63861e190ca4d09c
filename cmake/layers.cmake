# One static library per source layer, one GoogleTest executable per test layer.
# Sources are globbed so that adding a file to a layer needs no edit here.

set(ZADEVE_TEST_SUPPORT_DIR ${PROJECT_SOURCE_DIR}/tests/support)

function(zadeve_layer_tests layer)
  if(WIN32)
    return()  # the tests run natively; the cross build has no GoogleTest
  endif()
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${layer}/*.cpp)
  if(NOT tests)
    return()
  endif()
  add_executable(${layer}_tests ${tests})
  target_include_directories(${layer}_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${layer}_tests PRIVATE ${ARG_DEPS} zadeve_test_support GTest::gmock GTest::gtest_main)
  target_compile_definitions(${layer}_tests PRIVATE
    ZADEVE_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  add_test(NAME ${layer} COMMAND ${layer}_tests WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

# A static library from the given sources; an interface library while a layer has none yet.
function(zadeve_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(ARG_SOURCES)
    add_library(${name} STATIC ${ARG_SOURCES})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
                             $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/src>)
  target_link_libraries(${name} ${scope} ${ARG_DEPS})
endfunction()

# A seam's system-dependent half sits in <name>_posix.cpp or <name>_win32.cpp beside it.
function(zadeve_system_sources out)
  if(WIN32)
    list(FILTER ARGN EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER ARGN EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  set(${out} ${ARGN} PARENT_SCOPE)
endfunction()

function(zadeve_layer layer)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${layer}/*.cpp)
  zadeve_system_sources(sources ${sources})
  zadeve_library(zadeve_${layer} SOURCES ${sources} DEPS ${ARG_DEPS})
  zadeve_layer_tests(${layer} DEPS zadeve_${layer})
endfunction()
