# Headless frames compared pixel for pixel with committed PNGs (tools/golden.py).
find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
  add_test(NAME golden_frames
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/golden.py check
                   $<TARGET_FILE:mazewalk> ${CMAKE_SOURCE_DIR})
  set_tests_properties(golden_frames PROPERTIES LABELS golden TIMEOUT 600)
endif()
