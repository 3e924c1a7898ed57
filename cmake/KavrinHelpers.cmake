# Small helpers shared by the subsystem folders.

# Adds every subfolder of the current folder that has a CMakeLists.txt.
function(kavrin_add_subfolders)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# A static library made of every .cpp/.h in the given folders (relative to the current one).
function(kavrin_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;LIBS" ${ARGN})
  set(sources)
  foreach(dir ${ARG_DIRS})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h
         ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.ui)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp "// no sources yet\n")
    set(sources ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# The storyboard: one Qt Designer file per screen in resources/storyboard, named
# after its controller. A screen's source includes "ui_<Controller>.h"; every
# text of the file is a key of the string table "Localizable".
function(kavrin_storyboard target)
  foreach(screen ${ARGN})
    set(ui ${CMAKE_SOURCE_DIR}/resources/storyboard/${screen}.ui)
    target_sources(${target} PRIVATE ${ui})
    # The screen's source is rebuilt in the same build as its changed .ui file.
    file(GLOB_RECURSE screen_sources ${CMAKE_CURRENT_SOURCE_DIR}/${screen}.cpp)
    set_property(SOURCE ${screen_sources} APPEND PROPERTY OBJECT_DEPENDS ${ui})
  endforeach()
  set_property(TARGET ${target} APPEND PROPERTY AUTOUIC_SEARCH_PATHS ${CMAKE_SOURCE_DIR}/resources/storyboard)
  set_property(TARGET ${target} APPEND PROPERTY AUTOUIC_OPTIONS
               --tr storyboardLocalized --include controls/StoryboardLocalization.h)
endfunction()

# One GoogleTest executable made of every .cpp in the current folder, run by CTest
# with the offscreen Qt platform, libmpv's null audio output and the web engine without its sandbox.
function(kavrin_test_suite name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    KAVRIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}" KAVRIN_BINARY_DIR="${CMAKE_BINARY_DIR}")
  # Screens, string tables and map pages are read from the resources folder beside the binaries.
  if(TARGET kavrin_resources)
    add_dependencies(${name} kavrin_resources)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1;KAVRIN_TEST=1;KAVRIN_BINARY_DIR=${CMAKE_BINARY_DIR};KAVRIN_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
