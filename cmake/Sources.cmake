# Source files are found by pattern so that adding a file needs no CMake edit:
#   *_win.cpp, *Dialog.cpp  Win32 only;
#   *_posix.cpp             native builds only;
#   everything else         portable, in every build.
function(scenewright_collect out)
    set(files)
    foreach(dir IN LISTS ARGN)
        file(GLOB found CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp")
        list(APPEND files ${found})
    endforeach()
    if(WIN32)
        list(FILTER files EXCLUDE REGEX "_posix\\.cpp$")
    else()
        list(FILTER files EXCLUDE REGEX "(_win|Dialog)\\.cpp$")
    endif()
    list(SORT files)
    set(${out} ${files} PARENT_SCOPE)
endfunction()

# Windows executables are fully static, so they run on a bare Windows or Wine.
function(scenewright_static_exe target)
    if(WIN32)
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
endfunction()
