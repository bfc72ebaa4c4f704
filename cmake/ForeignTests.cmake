# Runs the fuzzers of the fuzz build and the test programs of the Windows build from this
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
endif()

if(SCENEWRIGHT_WINE_DIR)
    file(GLOB wine_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tests/win/*_test.cpp")
    foreach(src IN LISTS wine_sources)
        get_filename_component(name "${src}" NAME_WE)
        add_test(NAME wine_${name}
            COMMAND "${SCENEWRIGHT_WINE_RUN}" "${SCENEWRIGHT_WINE_DIR}/tests/win/${name}.exe")
        set_tests_properties(wine_${name} PROPERTIES LABELS wine TIMEOUT 900)
    endforeach()
endif()
