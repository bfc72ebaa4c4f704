# The placement checker stands in for the scenery compiler, under its name, in a folder of its
# own: the tests make it the current folder, or leave it to find no compiler at all.
add_dependencies(SceneryCompiler_test bglc-check)
add_custom_command(TARGET SceneryCompiler_test POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/bglc"
    COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:bglc-check>"
            "${CMAKE_CURRENT_BINARY_DIR}/bglc/BGLC.EXE")
