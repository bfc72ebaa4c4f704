# The flows run the program itself, with the checker beside it as its compiler.
add_dependencies(Scenewright_test Scenewright bglc-check)
