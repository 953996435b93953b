# The fuzz targets' checks in the ordinary build: each fuzz_*.cpp is linked
# with ReplayMain.cpp into <target>_replay, and CTest runs it over the
# target's seeds and over every input that ever made the target fail, kept
# in tests/data/fuzz-regressions/<target name without fuzz_>/ (one test per
# input, named after the file).
set(FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
set(FUZZ_REGRESSIONS ${CMAKE_CURRENT_LIST_DIR}/../tests/data/fuzz-regressions)
file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${FUZZ_DIR}/fuzz_*.cpp)
file(GLOB FUZZ_KEPT CONFIGURE_DEPENDS LIST_DIRECTORIES false ${FUZZ_REGRESSIONS}/*/*)
add_library(fuzz_replay_main STATIC ${FUZZ_DIR}/ReplayMain.cpp)
target_link_libraries(fuzz_replay_main PRIVATE topicsmith_core)
foreach(src ${FUZZ_SOURCES})
  get_filename_component(target ${src} NAME_WE)
  string(REGEX REPLACE "^fuzz_" "" name ${target})
  add_executable(${target}_replay ${src})
  target_include_directories(${target}_replay PRIVATE ${FUZZ_DIR})
  target_link_libraries(${target}_replay PRIVATE fuzz_replay_main topicsmith_core)
  if(target STREQUAL "fuzz_help_compiler")
    # The help compiler's output is read back with the tests' own reader.
    target_sources(${target}_replay PRIVATE
      ${FUZZ_DIR}/../tests/core/support/HelpFileReader.cpp
      ${FUZZ_DIR}/../tests/core/support/HelpFileReaderTopics.cpp
      ${FUZZ_DIR}/../tests/core/support/HelpFileReaderTrees.cpp)
    target_include_directories(${target}_replay PRIVATE ${FUZZ_DIR}/../tests/core/support)
  endif()

  # The seeds: fuzz/seeds/<name>, else the folder named for its first word
  # (project_file reads fuzz/seeds/project).
  string(REGEX REPLACE "_.*" "" word ${name})
  foreach(dir ${name} ${word})
    if(IS_DIRECTORY ${FUZZ_DIR}/seeds/${dir})
      add_test(NAME fuzz.seeds.${name} COMMAND ${target}_replay ${FUZZ_DIR}/seeds/${dir})
      break()
    endif()
  endforeach()
  foreach(input ${FUZZ_KEPT})
    get_filename_component(dir ${input} DIRECTORY)
    get_filename_component(dir ${dir} NAME)
    if(dir STREQUAL name)
      get_filename_component(file ${input} NAME)
      add_test(NAME fuzz.regression.${name}.${file} COMMAND ${target}_replay ${input})
    endif()
  endforeach()
endforeach()
