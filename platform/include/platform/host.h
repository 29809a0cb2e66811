// The seam between the host services and the machine: a real window (SDL) or a
// headless page with a virtual clock and scripted input. The page itself, its
// lock, the text cursor and the drawing live in the services; a host only shows
// the page and answers for input, time and chance.
#pragma once
#include <cstdint>

class HOST {
 public:
  virtual ~HOST() = default;
  // Opens the window for a page of WIDTH x HEIGHT. 0 or ERR_ILLEGAL_CALL.
  virtual int32_t OPEN(int32_t WIDTH, int32_t HEIGHT) = 0;
  // Shows the page (rows WIDTH * 4 bytes apart); also the point where a frame ends.
  virtual void PRESENT(const uint32_t* PAGE, int32_t WIDTH, int32_t HEIGHT) = 0;
  virtual int32_t WAIT_RETRACE() = 0;
  virtual int32_t KEY_HELD(int32_t SCANCODE) = 0;
  virtual void GET_MOUSE(int32_t& X, int32_t& Y, int32_t& WHEEL, int32_t& BUTTONS) = 0;
  virtual void SET_MOUSE(int32_t X, int32_t Y, int32_t VISIBLE, int32_t CONFINE) = 0;
  virtual double TIMER() = 0;
  virtual void SLEEP(int32_t MS) = 0;
  virtual uint64_t SEED_FROM_TIMER() = 0;
  // Every line printed on the page, as text (the headless host echoes them).
  virtual void TEXT_LINE(const char* /*TEXT*/) {}
};

// The host in use; a headless host with default settings until one is set.
HOST* HOST_GET();
void HOST_SET(HOST* H);
