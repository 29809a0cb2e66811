# The real SDL window under Xvfb, driven by xdotool.
find_program(XVFB_RUN xvfb-run)
find_program(XDOTOOL xdotool)
if(XVFB_RUN AND XDOTOOL)
  add_test(NAME e2e_window
           COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/window_test.sh $<TARGET_FILE:mazewalk> ${CMAKE_SOURCE_DIR})
  set_tests_properties(e2e_window PROPERTIES LABELS e2e TIMEOUT 180)
endif()
