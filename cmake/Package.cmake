# The download: one ZIP per Windows build (Scenewright-VERSION-win64.zip, -win32.zip) that a user
# unpacks and runs as it is, without an installer. It holds the program, the command-line tools a
# designer uses, the README and the licence. A program joins it with scenewright_ship(target) in
# its own CMakeLists.txt; `cmake --build --preset windows-x64 --target package` makes it.
set(SCENEWRIGHT_DOWNLOAD_COMPONENT download)

function(scenewright_ship target)
    if(WIN32)
        install(TARGETS ${target} RUNTIME DESTINATION . COMPONENT ${SCENEWRIGHT_DOWNLOAD_COMPONENT})
    endif()
endfunction()

if(NOT WIN32)
    return()
endif()

# The zip's name, the About window and the version resource all show the one version.
file(STRINGS "${PROJECT_SOURCE_DIR}/src/common/Version.h" version_line
     REGEX "^#define SCENEWRIGHT_VERSION_TEXT ")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" header_version "${version_line}")
if(NOT header_version STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "src/common/Version.h says ${header_version}, CMakeLists.txt says "
                        "${PROJECT_VERSION}: give both the same version")
endif()

# The texts with Windows line ends, which every Notepad shows as lines, as .txt files that open
# with a double click.
set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/LICENSE")
foreach(pair IN ITEMS "README.md=README.txt" "LICENSE=LICENSE.txt")
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 shipped)
    file(READ "${PROJECT_SOURCE_DIR}/${source}" text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE "${PROJECT_BINARY_DIR}/download/${shipped}.new" "${text}")
    configure_file("${PROJECT_BINARY_DIR}/download/${shipped}.new"
                   "${PROJECT_BINARY_DIR}/download/${shipped}" COPYONLY)
    install(FILES "${PROJECT_BINARY_DIR}/download/${shipped}" DESTINATION .
            COMPONENT ${SCENEWRIGHT_DOWNLOAD_COMPONENT})
endforeach()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
else()
    set(CPACK_SYSTEM_NAME win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Scenewright)
set(CPACK_PACKAGE_VENDOR "the Scenewright authors")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "Scenewright-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME}")
# Only what joined the download, at the zip's root (the user unpacks it into a folder of their
# own); the programs without their debugging sections.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL ${SCENEWRIGHT_DOWNLOAD_COMPONENT})
set(CPACK_STRIP_FILES ON)
include(CPack)
