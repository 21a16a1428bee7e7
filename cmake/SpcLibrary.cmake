# Helpers for the two libraries of each subsystem.
#   spc_core_library(<name> SOURCES ... LINK ...)     code without widgets
#   spc_windows_library(<name> SOURCES ... LINK ...)  windows of a subsystem
#   spc_test(<name> [BOTH_ENGINES] SOURCES ... LINK ...)
#       a GoogleTest executable run by CTest; with BOTH_ENGINES its database tests run once on an
#       SQLite file and once more (tests named "...@postgres") on the private PostgreSQL server
set_property(GLOBAL PROPERTY SPC_CORE_LIBRARIES "")

function(spc_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  set_property(GLOBAL APPEND PROPERTY SPC_CORE_LIBRARIES ${name})
endfunction()

function(spc_windows_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC Qt6::Widgets ${ARG_LINK})
endfunction()

function(spc_test name)
  cmake_parse_arguments(ARG "BOTH_ENGINES" "" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LINK} Qt6::Test GTest::gtest GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(ARG_BOTH_ENGINES)
    # One variable only: a list here would be split into properties. The widget tests' entry
    # picks the offscreen platform by itself.
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_SUFFIX "@postgres"
      PROPERTIES ENVIRONMENT "QIHENG_SPC_TEST_ENGINE=postgres")
  endif()
endfunction()

# A core library must never reach Qt6::Widgets, directly or through another library.
function(_spc_links_widgets target out visited)
  set(${out} FALSE PARENT_SCOPE)
  if(NOT TARGET ${target} OR "${target}" IN_LIST ${visited})
    return()
  endif()
  list(APPEND ${visited} ${target})
  set(${visited} ${${visited}} PARENT_SCOPE)
  get_target_property(libs ${target} LINK_LIBRARIES)
  get_target_property(ilibs ${target} INTERFACE_LINK_LIBRARIES)
  foreach(lib IN LISTS libs ilibs)
    if(lib STREQUAL "Qt6::Widgets" OR lib STREQUAL "Qt::Widgets")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
    if(lib MATCHES "^spc_")
      _spc_links_widgets(${lib} sub ${visited})
      if(sub)
        set(${out} TRUE PARENT_SCOPE)
        return()
      endif()
    endif()
  endforeach()
endfunction()

function(spc_check_core_libraries)
  get_property(cores GLOBAL PROPERTY SPC_CORE_LIBRARIES)
  foreach(core IN LISTS cores)
    set(visited "")
    _spc_links_widgets(${core} bad visited)
    if(bad)
      message(FATAL_ERROR "Core library ${core} links Qt6::Widgets; widgets belong in ${core}_windows.")
    endif()
  endforeach()
endfunction()
