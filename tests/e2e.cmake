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

# The browser build in headless Chromium, frame for frame against this build's
# program (tests/web/page_test.mjs); skipped until scripts/web.sh has made it.
find_program(NODE node)
find_program(CHROMIUM chromium)
set(MAZEWALK_WEB_DIR ${CMAKE_SOURCE_DIR}/build-web CACHE PATH "the browser build that e2e_web tests")
if(NODE AND CHROMIUM)
  add_test(NAME e2e_web
           COMMAND ${CMAKE_SOURCE_DIR}/tests/web/web_test.sh ${MAZEWALK_WEB_DIR} $<TARGET_FILE:mazewalk>
                   ${CMAKE_SOURCE_DIR})
  set_tests_properties(e2e_web PROPERTIES LABELS e2e TIMEOUT 300 SKIP_RETURN_CODE 77)
else()
  message(STATUS "browser test left out: it needs node and chromium")
endif()
