# The area lists for these tests come from the install generator.
target_link_libraries(ProfileFile_test PRIVATE simgen_lib)
