# The data files: their format, geometry and textures, and that the generator reproduces them.
add_test(NAME assets_models
         COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/assets/check_models.py)
add_test(NAME assets_textures
         COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/assets/check_textures.py)
add_test(NAME assets_reproducible
         COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/make_assets.py --check)
set_tests_properties(assets_models assets_textures assets_reproducible PROPERTIES LABELS unit)
