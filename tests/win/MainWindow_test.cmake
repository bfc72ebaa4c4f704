# The window is also driven against a generated simulator install.
target_link_libraries(MainWindow_test PRIVATE simgen_lib)
