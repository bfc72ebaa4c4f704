# Installs come from the generator; the command runs from its own folder of this build.
target_link_libraries(CatalogueCommand_test PRIVATE simgen_lib)
add_dependencies(CatalogueCommand_test sw-catalogue)
