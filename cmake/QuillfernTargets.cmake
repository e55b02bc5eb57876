# Conventions that let every folder grow without touching shared build files:
#   *.cpp in a source folder          -> its library (both platforms)
#   *_win32.cpp                       -> Windows build only
#   *_posix.cpp                       -> non-Windows builds only
#   tests/<folder>/*_test.cpp         -> that folder's gtest executable
#   fuzz/<name>_fuzz.cpp              -> libFuzzer target <name>_fuzz (QF_FUZZ)
#   bench/<name>_bench.cpp            -> Google Benchmark executable (QF_BENCH)

# Keeps only the files meant for the platform being built.
function(qf_platform_filter out_var)
  set(kept)
  foreach(f IN LISTS ARGN)
    get_filename_component(stem "${f}" NAME_WE)
    if(stem MATCHES "_win32(_test)?$" AND NOT WIN32)
      continue()
    endif()
    if(stem MATCHES "_posix(_test)?$" AND WIN32)
      continue()
    endif()
    list(APPEND kept "${f}")
  endforeach()
  set(${out_var} "${kept}" PARENT_SCOPE)
endfunction()

# qf_add_library(<name>) in a source folder: every matching .cpp of that folder.
function(qf_add_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  qf_platform_filter(sources ${sources})
  if(sources)
    add_library(${name} STATIC ${sources})
  else()
    add_library(${name} STATIC ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  # Coverage instrumentation without libFuzzer's main, so the fuzz targets see
  # which branches of the library code an input reached.
  if(QF_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# qf_add_test_suite(<name> LIBS <libs...> [WINDOW] [TSAN] [TIMEOUT s] [LOCK resource])
# One gtest executable of the folder's *_test.cpp files.  WINDOW: it opens
# windows (runs under Xvfb on Windows).  TSAN: it also belongs to the
# thread-sanitizer run; a QF_TSAN build adds only such suites.  LOCK: no two
# tests holding the same resource run at once (the program's work folders in
# the temporary folder have fixed names, so two running programs would delete
# each other's database copies).
function(qf_add_test_suite name)
  cmake_parse_arguments(A "WINDOW;TSAN" "TIMEOUT;LOCK" "LIBS;SOURCES" ${ARGN})
  if(QF_TSAN AND NOT A_TSAN)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  qf_platform_filter(sources ${sources} ${A_SOURCES})
  if(NOT sources)
    return()
  endif()
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 120)
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_LIBS} qf_testsupport GTest::gtest GTest::gmock)
  # PRE_TEST discovery: the Windows executables are listed through Wine at
  # test time, when the test script's persistent wineserver is running.
  set(lock)
  if(A_LOCK)
    set(lock RESOURCE_LOCK ${A_LOCK})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${A_TIMEOUT} LABELS "${name}" ${lock})
endfunction()

# qf_add_fuzz_target(<file> LIBS <libs...>): a libFuzzer executable plus a ctest
# entry that runs it for a bounded time over its seed corpus (fuzz/corpus/<name>).
function(qf_add_fuzz_target file)
  cmake_parse_arguments(A "" "SECONDS" "LIBS" ${ARGN})
  get_filename_component(name "${file}" NAME_WE)
  if(NOT A_SECONDS)
    set(A_SECONDS 5)
  endif()
  add_executable(${name} ${file})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  set(seeds ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
  add_test(NAME fuzz.${name}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
      ${CMAKE_SOURCE_DIR}/scripts/run-fuzzer.sh $<TARGET_FILE:${name}> ${A_SECONDS} ${corpus} ${seeds})
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 120 LABELS fuzz)
endfunction()
