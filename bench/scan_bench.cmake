# The scan benchmark scans an install made by the generator.
target_link_libraries(scan_bench PRIVATE simgen_lib)
