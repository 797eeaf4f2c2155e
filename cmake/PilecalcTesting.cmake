# pilecalc_add_test(NAME SOURCES ... LIBRARIES ...): one GoogleTest executable linked against the
# layers it tests, its cases registered with CTest one by one.
function(pilecalc_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE
        PILECALC_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# pilecalc_add_benchmark(NAME SOURCES ... LIBRARIES ...): a Google Benchmark executable; built with
# everything else, run by hand.
function(pilecalc_add_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} benchmark::benchmark
                                          benchmark::benchmark_main)
endfunction()

# pilecalc_add_fuzzer(NAME SOURCES ... LIBRARIES ...): a libFuzzer executable (PILECALC_FUZZ
# builds only), run by scripts/test.sh for a short fixed time on its seeds in tests/data/fuzz/NAME.
function(pilecalc_add_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# pilecalc_add_tests_and_benchmarks(): the tests/, bench/ and fuzz/ folders of the calling layer,
# as far as the build asks for them.
function(pilecalc_add_tests_and_benchmarks)
    if(PILECALC_BUILD_TESTS AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/CMakeLists.txt)
        add_subdirectory(tests)
    endif()
    if(PILECALC_BUILD_BENCHMARKS AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/bench/CMakeLists.txt)
        add_subdirectory(bench)
    endif()
    if(PILECALC_FUZZ AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/CMakeLists.txt)
        add_subdirectory(fuzz)
    endif()
endfunction()
