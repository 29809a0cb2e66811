# The real SDL window under Xvfb with openbox, driven by xdotool, checked on xwd
# screenshots (tests/e2e/shots.py).
find_program(XVFB_RUN xvfb-run)
find_program(XDOTOOL xdotool)
find_program(OPENBOX openbox)
find_program(XWD xwd)
find_program(XMESSAGE xmessage)
if(XVFB_RUN AND XDOTOOL AND OPENBOX AND XWD AND XMESSAGE)
  add_test(NAME e2e_window
           COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/window_test.sh $<TARGET_FILE:mazewalk> ${CMAKE_SOURCE_DIR})
  set_tests_properties(e2e_window PROPERTIES LABELS e2e TIMEOUT 300)
else()
  message(STATUS "window test left out: it needs xvfb-run, xdotool, openbox, xwd and xmessage")
endif()
