option(R7_BUILD_TESTS "Build the test suite" ON)
option(R7_BUILD_BENCH "Build the benchmarks" ON)
option(R7_WERROR "Treat warnings as errors" OFF)
option(R7_FUZZ "Build libFuzzer targets (clang)" OFF)
if(R7_FUZZ)
  # Everything the harnesses reach is instrumented for coverage and checked.
  # Undefined behaviour stops the run, so libFuzzer keeps the input as a crash.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()
set(R7_SANITIZE "" CACHE STRING "Sanitizers: empty, 'address,undefined' or 'thread'")

if(R7_SANITIZE)
  add_compile_options(-fsanitize=${R7_SANITIZE} -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=${R7_SANITIZE})
  if(R7_SANITIZE MATCHES "undefined")
    add_compile_options(-fno-sanitize-recover=undefined)
  endif()
endif()

# Warnings for our own targets only (Qt's headers are system headers).
function(r7_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(R7_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
    target_compile_definitions(${target} PRIVATE _GLIBCXX_ASSERTIONS QT_FORCE_ASSERTS)
  endif()
endfunction()
