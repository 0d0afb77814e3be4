# GoogleTest from Debian's sources, and the helpers every module uses to add tests.
#
#   qv_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>])
#
# Adds one test executable that CTest runs as one test. In the Windows build
# the executable runs under Wine (the cross-compiling emulator) and needs the
# "wine" fixture, which prepares the prefix, a persistent wineserver and a
# virtual screen once for the whole run.

set(QV_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")

function(qv_add_googletest)
  if(NOT EXISTS ${QV_GOOGLETEST_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${QV_GOOGLETEST_DIR}: install Debian's googletest")
  endif()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${QV_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest's own sources are not ours to keep warning-free.
  foreach(t gtest gtest_main)
    target_compile_options(${t} PRIVATE -w)
  endforeach()

  if(CMAKE_CROSSCOMPILING_EMULATOR)
    set(runner ${CMAKE_SOURCE_DIR}/tools/wine-fixture)
    add_test(NAME wine_start COMMAND ${runner} start ${CMAKE_BINARY_DIR}/wine)
    add_test(NAME wine_stop COMMAND ${runner} stop ${CMAKE_BINARY_DIR}/wine)
    # Wine's services list the drives they find when they start: a test that
    # needs the system's own drive list to show drives it maps provides the
    # fixture "wine_drives", which runs before them.
    set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine FIXTURES_REQUIRED wine_drives TIMEOUT 300)
    set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)
  endif()
endfunction()

function(qv_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest_main gtest)
  if(WIN32)
    # Console test programs with a plain main(); GoogleTest parses the command line.
    target_link_options(${T_NAME} PRIVATE -mconsole)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1)
  set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}" TIMEOUT 600
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    # A crash Wine reports is a failure even when the exit code it leaves
    # behind says otherwise (a fault caught late, or in another thread).
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine
                         ENVIRONMENT "QV_WINE_DIR=${CMAKE_BINARY_DIR}/wine"
                         FAIL_REGULAR_EXPRESSION "wine: Unhandled |Unhandled exception: ")
  endif()
endfunction()

#   qv_add_fuzzer(NAME <name> SOURCES <files...> [LIBS <targets...>] CORPUS <dir>
#                 [INPUT_TIMEOUT <seconds>])
#
# A libFuzzer target (LLVMFuzzerTestOneInput). In the fuzz build it links
# libFuzzer and a test replays its corpus and fuzzes briefly; in the other
# host builds it links a small replay driver so the corpus runs under the
# sanitizers as an ordinary test. INPUT_TIMEOUT fails the test when one input
# runs longer (libFuzzer's own limit is 20 minutes, far beyond the brief run,
# so a search that runs away on a damaged volume would go unseen); the replay
# test then gets a limit of its own too.
function(qv_add_fuzzer)
  cmake_parse_arguments(F "" "NAME;CORPUS;INPUT_TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(WIN32)
    return()
  endif()
  if(QV_FUZZ)
    add_executable(${F_NAME} ${F_SOURCES})
    target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
    # libFuzzer adds what it finds to the first folder: a scratch one, so
    # the corpus in the repository stays as it is.
    set(scratch ${CMAKE_CURRENT_BINARY_DIR}/${F_NAME}-found)
    file(MAKE_DIRECTORY ${scratch})
    set(input_limit)
    if(F_INPUT_TIMEOUT)
      set(input_limit -timeout=${F_INPUT_TIMEOUT})
    endif()
    add_test(NAME ${F_NAME} COMMAND ${F_NAME} -max_total_time=15 -rss_limit_mb=2048 ${input_limit}
             -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/${F_NAME}- ${scratch} ${F_CORPUS})
  else()
    add_executable(${F_NAME} ${F_SOURCES} ${CMAKE_SOURCE_DIR}/tools/fuzz-replay.cpp)
    target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
    add_test(NAME ${F_NAME} COMMAND ${F_NAME} ${F_CORPUS})
  endif()
  set_tests_properties(${F_NAME} PROPERTIES LABELS fuzz TIMEOUT 300)
  if(F_INPUT_TIMEOUT AND NOT QV_FUZZ)
    set_tests_properties(${F_NAME} PROPERTIES TIMEOUT 60)
  endif()
endfunction()
