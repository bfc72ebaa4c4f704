# The packed-file benchmark compares against zlib and makes its input with the packer.
find_package(ZLIB REQUIRED)
target_link_libraries(packed_bench PRIVATE ZLIB::ZLIB packlib_encoder)
