# Warnings are errors in every build.
add_library(scenewright_warnings INTERFACE)
target_compile_options(scenewright_warnings INTERFACE -Wall -Wextra -Wshadow -Werror)

# Sanitizers for the native core and its tests.
add_library(scenewright_sanitize INTERFACE)
if(NOT WIN32 AND SCENEWRIGHT_SANITIZE AND NOT SCENEWRIGHT_FUZZ)
    target_compile_options(scenewright_sanitize INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(scenewright_sanitize INTERFACE -fsanitize=address,undefined)
elseif(SCENEWRIGHT_FUZZ)
    target_compile_options(scenewright_sanitize INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(scenewright_sanitize INTERFACE -fsanitize=address,undefined)
endif()
