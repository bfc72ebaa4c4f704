# Packed files for these tests come from the packer; the unpack command runs from its own folder.
target_link_libraries(PackedFile_test PRIVATE packlib_encoder)
add_dependencies(PackedFile_test unpacklib)
