// The browser's side of the browser host (platform/web_host.cpp): the canvas,
// the listeners for keys, the mouse and the focus, and the text the page shows.
// Everything lives in Module.web, which the page and its tests read too:
//   Module.web.frame     frames shown so far
//   Module.web.held      the frame the loop holds at (0: running); see hold below
//   Module.web.release() lets a held frame go
// The page may set Module.webOptions before the program starts:
//   hold: [N, ...]  hold the picture of frame N on the canvas until released
//   fast: true      a replay does not wait for the display between frames
// and Module.onPageOpen() and Module.onPageResize(width, height), called when
// the canvas takes the program's page size.
mergeInto(LibraryManager.library, {
  mw_page_open: function (width, height, replay) {
    var canvas = document.getElementById('canvas');
    var ctx = canvas && canvas.getContext ? canvas.getContext('2d') : null;
    if (!ctx) return 0;
    canvas.width = width;
    canvas.height = height;
    var options = Module.webOptions || {};
    var web = Module.web = {
      canvas: canvas, ctx: ctx, replay: !!replay, fast: !!(replay && options.fast),
      codes: new Map(), keys: [], dx: 0, dy: 0, x: -1, y: -1, wheel: 0, buttons: 0,
      wantLock: false, locked: false, paused: false,
      hold: new Set(options.hold || []), held: 0, frame: 0, text: null, closed: false,
      release: function () { web.held = 0; },
    };
    var lock = function () {
      try {
        var p = canvas.requestPointerLock();
        if (p && p.catch) p.catch(function () {});
      } catch (e) {}
    };
    web.lock = lock;
    // Focus gone elsewhere: the program holds still until a click on the
    // picture. Keys held then may never be seen going up: -2 lets them all go.
    var pause = function () {
      web.keys.push(-2);
      if (web.replay || web.paused || web.closed) return;
      web.paused = true;
      if (document.pointerLockElement === canvas) document.exitPointerLock();
    };
    var key = function (down) {
      return function (e) {
        var code = web.codes.get(e.code);
        if (!code || web.closed) return;
        // Browser shortcuts (Ctrl+R, Ctrl+W, ...) stay the browser's.
        if (!(e.ctrlKey || e.metaKey || e.altKey)) e.preventDefault();
        if (down && e.repeat) return;
        web.keys.push(code * 2 + (down ? 1 : 0));
      };
    };
    window.addEventListener('keydown', key(true));
    window.addEventListener('keyup', key(false));
    window.addEventListener('blur', pause);
    document.addEventListener('visibilitychange', function () { if (document.hidden) pause(); });
    document.addEventListener('pointerlockchange', function () {
      var locked = document.pointerLockElement === canvas;
      // Esc (or the browser) took the pointer back while the program looks
      // around with it.
      if (web.locked && !locked && web.wantLock) pause();
      web.locked = locked;
    });
    canvas.addEventListener('mousedown', function (e) {
      canvas.focus();
      web.paused = false;
      if (web.wantLock && !web.closed) lock();
      e.preventDefault();
    });
    var move = function (e) {
      web.buttons = (e.buttons & 1) | (e.buttons & 4 ? 2 : 0) | (e.buttons & 2 ? 4 : 0);
      if (web.locked) {
        web.dx += e.movementX;
        web.dy += e.movementY;
        return;
      }
      // Page pixels, whatever size the canvas is shown at: the picture keeps
      // its shape within the element (object-fit: contain), bars aside.
      var r = canvas.getBoundingClientRect();
      var scale = Math.min(r.width / canvas.width, r.height / canvas.height);
      var left = r.left + (r.width - canvas.width * scale) / 2;
      var top = r.top + (r.height - canvas.height * scale) / 2;
      var x = Math.floor((e.clientX - left) / scale);
      var y = Math.floor((e.clientY - top) / scale);
      var inside = x >= 0 && y >= 0 && x < canvas.width && y < canvas.height;
      web.x = inside ? x : -1;
      web.y = inside ? y : -1;
    };
    document.addEventListener('mousemove', move);
    document.addEventListener('mousedown', move);
    document.addEventListener('mouseup', move);
    canvas.addEventListener('mouseleave', function () { if (!web.locked) web.x = web.y = -1; });
    canvas.addEventListener('wheel', function (e) { web.wheel -= Math.sign(e.deltaY); }, { passive: true });
    canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
    canvas.tabIndex = 0;
    canvas.focus();
    if (Module.onPageOpen) Module.onPageOpen();
    return 1;
  },

  // A page of WIDTH x HEIGHT from now on (the canvas is cleared until the next frame).
  mw_page_resize: function (width, height) {
    var canvas = Module.web.canvas;
    canvas.width = width;
    canvas.height = height;
    if (Module.onPageResize) Module.onPageResize(width, height);
  },

  // The canvas's size as laid out, in CSS pixels, and the device pixel ratio.
  mw_page_canvas_size: function (cssWidth, cssHeight, ratio) {
    var r = Module.web.canvas.getBoundingClientRect();
    HEAPF64[cssWidth >> 3] = r.width;
    HEAPF64[cssHeight >> 3] = r.height;
    HEAPF64[ratio >> 3] = window.devicePixelRatio || 1;
  },

  mw_page_add_key: function (code, scancode) {
    Module.web.codes.set(UTF8ToString(code), scancode);
  },

  // The next key event as scan code * 2 + 1 (down) or + 0 (up); -2 when every
  // key is to be let go; -1 when there is none.
  mw_page_next_key: function () {
    var keys = Module.web.keys;
    return keys.length ? keys.shift() : -1;
  },

  // The pointer's travel while locked since the last call, into X and Y.
  mw_page_take_motion: function (x, y) {
    var web = Module.web;
    HEAP32[x >> 2] = web.dx;
    HEAP32[y >> 2] = web.dy;
    web.dx = web.dy = 0;
  },

  // The pointer over the canvas in page pixels (-1, -1 outside), the wheel and
  // the buttons (1 left, 2 middle, 4 right).
  mw_page_pointer: function (x, y, wheel, buttons) {
    var web = Module.web;
    HEAP32[x >> 2] = web.x;
    HEAP32[y >> 2] = web.y;
    HEAP32[wheel >> 2] = web.wheel;
    HEAP32[buttons >> 2] = web.buttons;
  },

  // 1: the program looks around with the pointer (captured), 0: it shows it.
  mw_page_want_lock: function (want) {
    var web = Module.web;
    web.wantLock = !!want;
    if (want) {
      // Without a recent click or key press the browser refuses; the page
      // then asks for a click.
      if (!web.locked && !web.paused) web.lock();
    } else if (document.pointerLockElement === web.canvas) {
      document.exitPointerLock();
    }
  },

  mw_page_locked: function () { return Module.web.locked ? 1 : 0; },

  mw_page_paused: function () { return Module.web.paused ? 1 : 0; },

  // Shows WIDTH x HEIGHT canvas bytes (red, green, blue, alpha) at PIXELS as
  // frame FRAME (0: the same frame again). True when the page holds this frame.
  mw_page_present: function (pixels, width, height, frame) {
    var web = Module.web;
    // The heap may have grown since the last frame: take its buffer now. An
    // image cannot be made from memory shared with threads: copy it then.
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
    if (typeof SharedArrayBuffer !== 'undefined' && HEAPU8.buffer instanceof SharedArrayBuffer)
      bytes = new Uint8ClampedArray(bytes);
    web.ctx.putImageData(new ImageData(bytes, width, height), 0, 0);
    if (!frame) return 0;
    web.frame = frame;
    if (web.hold.has(frame)) {
      web.hold.delete(frame);
      web.held = frame;
    }
    return web.held === frame ? 1 : 0;
  },

  mw_page_held: function (frame) { return Module.web.held === frame ? 1 : 0; },

  // The lines the program printed on its last frame, for the page to show as text.
  mw_page_text: function (text) {
    var web = Module.web, t = UTF8ToString(text);
    if (t === web.text) return;
    web.text = t;
    if (Module.onText) Module.onText(t);
  },

  mw_page_title: function (title) { document.title = UTF8ToString(title); },

  mw_page_close: function () {
    var web = Module.web;
    if (!web) return;
    web.closed = true;
    web.wantLock = false;
    if (document.pointerLockElement === web.canvas) document.exitPointerLock();
  },

  // A seed from the page's clocks.
  mw_page_seed: function () {
    return (Date.now() * 1000 + Math.floor(performance.now() * 1000)) % 2147483647;
  },
});
