# What every test runs with: headless, sanitizers configured (Qt's and the system's own leaks at
# exit are not ours to fix, so leak checking is off).
set(R7_TEST_ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen"
  "TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tools/tsan.supp halt_on_error=1 second_deadlock_stack=1"
  "ASAN_OPTIONS=detect_leaks=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

# r7_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>] [TIMEOUT <s>])
# Builds one Qt Test executable and registers it with CTest, headless.
function(r7_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE r7core Qt6::Test ${T_LIBS})
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  r7_target_defaults(${T_NAME})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    LABELS "${T_LABELS}"
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "${R7_TEST_ENVIRONMENT}")
endfunction()
