# Tests of everything that touches Win32, run under Wine through the cross-compiling emulator. Drive D: is a
# folder of the build tree; the tests create what they need on it.
set(TAMO_DRIVE_D ${CMAKE_BINARY_DIR}/drive-d)

# The tests are listed, so that a deleted one is an error rather than a shorter run; a test file that is not
# listed is an error too, rather than a test that never runs.
set(wine_test_sources
  about_dialog_test.cpp
  bitmap_push_button_test.cpp
  catalog_commands_test.cpp
  catalog_dialog_test.cpp
  copy_target_dialog_test.cpp
  dialog_layout_test.cpp
  exit_confirm_dialog_test.cpp
  language_dialog_test.cpp
  message_box_test.cpp
  modal_loop_test.cpp
  path_agreement_test.cpp
  paths_test.cpp
  resolve_existing_file_test.cpp
  settings_agreement_test.cpp
  startup_settings_test.cpp)
file(GLOB found_test_sources CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
list(REMOVE_ITEM found_test_sources ${wine_test_sources})
if(found_test_sources)
  message(FATAL_ERROR "Wine test files not listed in tests/wine/tests.cmake: ${found_test_sources}")
endif()
list(TRANSFORM wine_test_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
add_executable(wine_tests ${wine_test_sources} ${CMAKE_CURRENT_LIST_DIR}/test_support.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_driver.cpp $<TARGET_OBJECTS:resources>)
target_link_libraries(wine_tests PRIVATE app ui platform framework catalog disc_check gtest gtest_main)
add_dependencies(wine_tests demo_program)

# Each test runs in its own process, one at a time (they share drive D: and the display), and a stuck modal
# dialog fails its test at the timeout instead of hanging the run. The tests run in a Polish locale, so that
# the ANSI code page is 1250, as on the machines the disc is made for.
# The forty rounds of every dialog open some 400 windows: on a busy machine they need more than the others.
set(long_wine_tests "*FortyRounds*")
foreach(part short long)
  if(part STREQUAL short)
    set(filter "-${long_wine_tests}")
    set(timeout 60)
  else()
    set(filter "${long_wine_tests}")
    set(timeout 180)
  endif()
  gtest_discover_tests(wine_tests
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    TEST_FILTER "${filter}"
    PROPERTIES TIMEOUT ${timeout} RUN_SERIAL TRUE ENVIRONMENT "TAMO_DRIVE_D=${TAMO_DRIVE_D}"
               ENVIRONMENT_MODIFICATION "LC_ALL=set:pl_PL.UTF-8")
endforeach()

# The real program on the sample disc's ISO image, mounted read-only as CD-ROM drive D: (fuseiso, so /dev/fuse
# and root are needed), driven by real input on the display the test runner provides.
add_executable(probe ${CMAKE_SOURCE_DIR}/tests/e2e/probe.cpp)
add_test(NAME end_to_end COMMAND sh ${CMAKE_SOURCE_DIR}/tests/e2e/e2e.sh ${CMAKE_BINARY_DIR})
set_tests_properties(end_to_end PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
