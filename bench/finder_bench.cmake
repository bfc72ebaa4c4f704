# The finder benchmark searches the catalogue of an install made by the generator.
target_link_libraries(finder_bench PRIVATE simgen_lib)
