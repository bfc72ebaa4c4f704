# Runs the fuzzers of the fuzz build and the test programs of the Windows builds from this
# (native) build's ctest, so that one run ends with one summary line.
set(SCENEWRIGHT_WINE_RUN "${PROJECT_SOURCE_DIR}/tests/wine-run.sh")

if(SCENEWRIGHT_FUZZ_DIR)
    file(GLOB fuzz_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/fuzz/*_fuzz.cpp")
    foreach(src IN LISTS fuzz_sources)
        get_filename_component(name "${src}" NAME_WE)
        set(corpus_seed "${PROJECT_SOURCE_DIR}/fuzz/corpus/${name}")
        add_test(NAME ${name}
            COMMAND "${PROJECT_SOURCE_DIR}/fuzz/run-fuzzer.sh"
                    "${SCENEWRIGHT_FUZZ_DIR}/fuzz/${name}" "${corpus_seed}"
                    ${SCENEWRIGHT_FUZZ_SECONDS})
        set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 300)
    endforeach()
    # The packed-file fuzzer with the decoder's literal step in its plain form, on the same seeds.
    add_test(NAME packed_plain_fuzz
        COMMAND "${PROJECT_SOURCE_DIR}/fuzz/run-fuzzer.sh"
                "${SCENEWRIGHT_FUZZ_DIR}/fuzz/packed_plain_fuzz"
                "${PROJECT_SOURCE_DIR}/fuzz/corpus/packed_fuzz" ${SCENEWRIGHT_FUZZ_SECONDS})
    set_tests_properties(packed_plain_fuzz PROPERTIES LABELS fuzz TIMEOUT 300)
endif()

# Every Wine test starts in a fresh prefix of its own: a copy of one booted once for the run
# (booting each would cost some 20 s a test), removed again when the run ends.
set(SCENEWRIGHT_PREFIX_TEMPLATES "${CMAKE_BINARY_DIR}/wine-prefixes")
if(SCENEWRIGHT_WINE_DIR OR SCENEWRIGHT_WINE32_DIR)
    add_test(NAME wine_prefixes COMMAND "${PROJECT_SOURCE_DIR}/tests/wine-templates.sh"
                                        "${SCENEWRIGHT_PREFIX_TEMPLATES}")
    add_test(NAME wine_prefixes_removed COMMAND "${PROJECT_SOURCE_DIR}/tests/wine-templates.sh"
                                                --remove "${SCENEWRIGHT_PREFIX_TEMPLATES}")
    set_tests_properties(wine_prefixes PROPERTIES FIXTURES_SETUP wine_prefixes LABELS wine
                                                  TIMEOUT 300)
    set_tests_properties(wine_prefixes_removed PROPERTIES FIXTURES_CLEANUP wine_prefixes
                                                          LABELS wine)
endif()

# The test programs of the Windows build in `dir`, each under Wine in a fresh prefix of the
# program's own bitness, and its download unpacked and started; the tests named `prefix`NAME.
function(scenewright_wine_tests prefix dir system)
    file(GLOB wine_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tests/win/*_test.cpp")
    foreach(src IN LISTS wine_sources)
        get_filename_component(name "${src}" NAME_WE)
        add_test(NAME ${prefix}${name}
            COMMAND "${SCENEWRIGHT_WINE_RUN}" "${dir}/tests/win/${name}.exe")
        set_tests_properties(${prefix}${name} PROPERTIES LABELS wine TIMEOUT 900
            FIXTURES_REQUIRED wine_prefixes
            ENVIRONMENT "SCENEWRIGHT_PREFIX_TEMPLATES=${SCENEWRIGHT_PREFIX_TEMPLATES}")
    endforeach()
    add_test(NAME ${prefix}download
        COMMAND "${PROJECT_SOURCE_DIR}/tests/download-run.sh"
                "${dir}/Scenewright-${PROJECT_VERSION}-${system}.zip"
                "${dir}/tests/win/Download_test.exe")
    set_tests_properties(${prefix}download PROPERTIES LABELS wine TIMEOUT 300
        FIXTURES_REQUIRED wine_prefixes
        ENVIRONMENT "SCENEWRIGHT_PREFIX_TEMPLATES=${SCENEWRIGHT_PREFIX_TEMPLATES}")
endfunction()

if(SCENEWRIGHT_WINE_DIR)
    scenewright_wine_tests(wine_ "${SCENEWRIGHT_WINE_DIR}" win64)
endif()
if(SCENEWRIGHT_WINE32_DIR)
    scenewright_wine_tests(wine_x86_ "${SCENEWRIGHT_WINE32_DIR}" win32)
endif()
