# The packed-file benchmark compares against zlib, makes its input with the packer and generates
# a full-size install.
find_package(ZLIB REQUIRED)
target_link_libraries(packed_bench PRIVATE ZLIB::ZLIB packlib_encoder simgen_lib)
