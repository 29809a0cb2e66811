// The browser build in headless Chromium, against the native headless program:
//   node tests/web/page_test.mjs WEB_DIR PROGRAM SOURCE_DIR
// WEB_DIR holds index.html and mazewalk.js/.wasm/.data; PROGRAM is the native
// mazewalk. Each check prints "ok" or "FAIL"; the exit status is 1 on a failure.
import { spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { inflateSync } from 'node:zlib';
import { launch, serve } from './cdp.mjs';

const [webDir, program, sourceDir] = process.argv.slice(2);
if (!webDir || !program || !sourceDir) {
  console.error('usage: node page_test.mjs WEB_DIR PROGRAM SOURCE_DIR');
  process.exit(64);
}
const W = 640, H = 480;
// Where the two C libraries' last bits could ever move a pixel, at most this
// share of a frame may differ (none does today).
const MOST_DIFFERING = Math.floor(W * H * 0.001);
// Frames of the demo tour held in the page and compared. The first is before
// the key press, the others after it: every render mode of the tour.
const BEFORE_KEY = 283, KEY_FRAME = 284;
const AFTER_KEY = [KEY_FRAME, 497, 649, 1047, 1197, 1347, 1497];

let failures = 0;
function check(what, ok, detail = '') {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}${detail ? ': ' + detail : ''}`);
  if (!ok) failures++;
}

// An 8-bit RGB or RGBA PNG as RGBA bytes.
function readPng(path) {
  const b = readFileSync(path);
  let width = 0, height = 0, channels = 3;
  const data = [];
  for (let p = 8; p < b.length;) {
    const len = b.readUInt32BE(p), type = b.toString('ascii', p + 4, p + 8), d = b.subarray(p + 8, p + 8 + len);
    if (type === 'IHDR') { width = d.readUInt32BE(0); height = d.readUInt32BE(4); channels = d[9] === 6 ? 4 : 3; }
    if (type === 'IDAT') data.push(d);
    p += 12 + len;
  }
  const raw = inflateSync(Buffer.concat(data)), stride = width * channels, out = Buffer.alloc(width * height * 4);
  let prev = Buffer.alloc(stride);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    const line = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; i++) {
      const a = i >= channels ? line[i - channels] : 0, up = prev[i], c = i >= channels ? prev[i - channels] : 0;
      let v = 0;
      if (filter === 1) v = a;
      else if (filter === 2) v = up;
      else if (filter === 3) v = (a + up) >> 1;
      else if (filter === 4) {
        const q = a + up - c, pa = Math.abs(q - a), pb = Math.abs(q - up), pc = Math.abs(q - c);
        v = pa <= pb && pa <= pc ? a : pb <= pc ? up : c;
      }
      line[i] = (line[i] + v) & 255;
    }
    for (let x = 0; x < width; x++) {
      for (let k = 0; k < 3; k++) out[(y * width + x) * 4 + k] = line[x * channels + k];
      out[(y * width + x) * 4 + 3] = 255;
    }
    prev = line;
  }
  return { width, height, rgba: out };
}

// Pixels whose colour differs, and the first of them; every pixel when the sizes differ.
function compare(a, b) {
  const all = a.width * a.height;
  if (a.width !== b.width || a.height !== b.height)
    return { count: all, text: `${a.width} x ${a.height} against ${b.width} x ${b.height}` };
  let count = 0, first = '';
  for (let i = 0; i < a.rgba.length; i += 4) {
    if (a.rgba[i] !== b.rgba[i] || a.rgba[i + 1] !== b.rgba[i + 1] || a.rgba[i + 2] !== b.rgba[i + 2]) {
      if (!count) first = ` (first at ${(i / 4) % a.width}, ${Math.floor(i / 4 / a.width)})`;
      count++;
    }
  }
  return { count, text: `${count} of ${all} pixels differ${first}` };
}

// The share of pixels that are not black.
function lit(shot) {
  let n = 0;
  for (let i = 0; i < shot.rgba.length; i += 4) if (shot.rgba[i] || shot.rgba[i + 1] || shot.rgba[i + 2]) n++;
  return n / (shot.rgba.length / 4);
}

// Yellow text pixels (the pause line) in the band across the middle.
function yellowInMiddle(shot) {
  let n = 0;
  for (let y = H / 2 - 8; y < H / 2 + 8; y++)
    for (let x = 0; x < W; x++) {
      const i = (y * W + x) * 4;
      if (shot.rgba[i] > 200 && shot.rgba[i + 1] > 200 && shot.rgba[i + 2] < 100) n++;
    }
  return n;
}

// The native program's frames, headless, with a script of its own.
function nativeFrames(dir, args, script, frames) {
  const input = join(dir, 'input.txt');
  writeFileSync(input, script);
  const shots = frames.flatMap((f) => ['--shot', `${f}:${join(dir, `frame${f}.png`)}`]);
  const r = spawnSync(program, ['--headless', '--res', sourceDir, '--input', input, ...args, ...shots],
                      { encoding: 'utf8', timeout: 300000 });
  if (r.status !== 0) throw new Error(`${program} failed (${r.status}): ${r.stderr}`);
  return Object.fromEntries(frames.map((f) => [f, readPng(join(dir, `frame${f}.png`))]));
}

const hold = (page, frame) => page.waitFor(`window.Module && Module.web && Module.web.held === ${frame}`, 120000);
const release = (page) => page.evaluate('Module.web.release(), 1');

// Plays the demo tour in a page from SERVER (address parameters EXTRA), holds
// FRAMES (the first before the key press, the rest after it) and compares
// each with the native program's; the whole tour and its end when WHOLE.
// Returns the page's line about how it draws.
async function playTour(server, extra, frames, tour, whole, label = extra.slice(1)) {
  const [first, ...after] = frames;
  const page = await browser.newPage(
    `${server.url}index.html?demo&seed=1&fast&hold=${frames.join(',')}${extra}`);
  const how = label ? ` (${label})` : '';
  await hold(page, first);
  const drawing = await page.evaluate('document.getElementById("drawing").textContent');
  const before = await page.canvasRGBA('#canvas');
  let d = compare(before, tour[first]);
  check(`tour frame ${first}${how} as the native program draws it`, d.count <= MOST_DIFFERING, d.text);
  if (whole) {
    check('the page shows a 640 x 480 canvas', before.width === W && before.height === H, `${before.width} x ${before.height}`);
    check('the status lines shown as text too',
          /^\d+ triangles rendered\.\nFPS: \d+\nx: .*\n/.test(await page.evaluate('document.getElementById("status").textContent')));
  }
  await page.pressKey('Digit1', '1', 49);
  await release(page);
  for (const frame of after) {
    await hold(page, frame);
    const shot = await page.canvasRGBA('#canvas');
    d = compare(shot, tour[frame]);
    check(`tour frame ${frame}${how} as the native program draws it`, d.count <= MOST_DIFFERING, d.text);
    if (frame === KEY_FRAME && whole) {
      check('the key press turned wire frame on', lit(shot) < lit(before) / 4,
            `lit ${(100 * lit(before)).toFixed(1)}% before, ${(100 * lit(shot)).toFixed(1)}% after`);
    }
    await release(page);
  }
  if (whole) {
    await page.waitFor('document.getElementById("message").textContent.includes("ended")', 60000);
    const status = await page.evaluate('document.getElementById("status").textContent');
    check('the tour ends with OK!! and the page says so', status.trimEnd().endsWith('OK!!'), JSON.stringify(status.slice(-30)));
  }
  await page.close();
  return drawing;
}

const scratch = mkdtempSync(join(tmpdir(), 'mazewalk-web-'));
const server = await serve(webDir);
const browser = await launch({ log: process.env.VERBOSE ? console.error : () => {} });
const started = Date.now();
try {
  console.log(browser.version);

  // The demo tour replayed in the page, frame for frame, with a key pressed
  // by the browser's keyboard in the middle: 1 in frame 284 turns wire frame on.
  const tour = nativeFrames(scratch, ['--seed', '1', '--demo'],
                            `${KEY_FRAME} down 1\n${KEY_FRAME + 1} up 1\n`, [BEFORE_KEY, ...AFTER_KEY]);
  const drawing = await playTour(server, '', [BEFORE_KEY, ...AFTER_KEY], tour, true);
  check('the page says how it draws', drawing.startsWith('one thread: the page is not cross-origin isolated'),
        JSON.stringify(drawing));

  // The portable spans in the page draw the same frames.
  await playTour(server, '&simd=off', [BEFORE_KEY, KEY_FRAME, AFTER_KEY[1]], tour, false);

  // Cross-origin isolated, the page draws on threads (when the build with
  // them is there), and still the same frames.
  if (existsSync(join(webDir, 'mazewalk-threads.js'))) {
    const isolated = await serve(webDir, { isolated: true });
    try {
      const threaded = await playTour(isolated, '', [BEFORE_KEY, KEY_FRAME, AFTER_KEY[2], AFTER_KEY[3]], tour,
                                      false, 'isolated, on threads');
      check('the isolated page draws on threads', /^drawing on \d+ threads? /.test(threaded), JSON.stringify(threaded));
    } finally {
      isolated.stop();
    }
  } else {
    console.log('skip the page with drawing threads: no mazewalk-threads.js (scripts/web.sh build makes it)');
  }

  // Mouse look through pointer lock, on the virtual clock: a click captures
  // the pointer, and its travel of 50 right and 150 down in frame 31 turns the
  // view as a script's pointer at 370, 390 does (looking down onto the maze).
  let d;
  const look = nativeFrames(scratch, ['--seed', '1', '--frames', '40'], '31 mouse 370 390\n', [31]);
  const still = nativeFrames(scratch, ['--seed', '1', '--frames', '40'], '', [31]);
  const mouse = await browser.newPage(`${server.url}index.html?frames=40&seed=1&hold=30,31`);
  await hold(mouse, 30);
  await mouse.click(400, 300);
  const locked = await mouse.waitFor('Module.web.locked && document.pointerLockElement.id', 5000).catch(() => '');
  check('a click on the picture captures the pointer', locked === 'canvas', `locked: '${locked}'`);
  await mouse.send('Input.dispatchMouseEvent', { type: 'mouseMoved', x: 450, y: 450 });
  await mouse.waitFor('Module.web.dy === 150', 5000).catch(() => {});
  await release(mouse);
  await hold(mouse, 31);
  const turned = await mouse.canvasRGBA('#canvas');
  d = compare(turned, look[31]);
  check('the travel turns the view as the same motion does natively', d.count <= MOST_DIFFERING, d.text);
  const unturned = compare(turned, still[31]).count;
  check('(control: without the travel the view differs)', unturned > W * H / 20, `${unturned} pixels differ`);
  await release(mouse);
  await mouse.close();

  // ?size=800x450 is --size 800x450: the same frame as the native program's,
  // shown in its own shape.
  const wide = nativeFrames(scratch, ['--seed', '1', '--frames', '40', '--size', '800x450'], '', [30]);
  const sized = await browser.newPage(`${server.url}index.html?frames=40&seed=1&size=800x450&hold=30`);
  await hold(sized, 30);
  d = compare(await sized.canvasRGBA('#canvas'), wide[30]);
  check('?size=800x450 draws frame 30 as --size 800x450 does', d.count <= MOST_DIFFERING, d.text);
  const shape = await sized.evaluate('(r => r.width / r.height)(document.getElementById("canvas").getBoundingClientRect())');
  check('and shows it 16:9', Math.abs(shape - 16 / 9) < 0.01, shape.toFixed(3));
  await release(sized);
  await sized.close();

  // ?size=window: the canvas takes the area above the text, and the program
  // draws at its device pixels, following a resized window and a new pixel
  // ratio. The tour, held at two frames, gives pictures that are not black.
  const fill = await browser.newPage(`${server.url}index.html?size=window&demo&seed=1&fast&hold=${BEFORE_KEY},${KEY_FRAME}`,
                                     { viewport: { width: 1000, height: 700 } });
  const layout = `(c => { const r = c.getBoundingClientRect(), below = document.getElementById('below').getBoundingClientRect();
    return { dw: Math.round(r.width * devicePixelRatio), dh: Math.round(r.height * devicePixelRatio),
             bars: r.left !== 0 || r.top !== 0 || r.width !== innerWidth || r.bottom !== below.top ||
                   Math.abs(below.bottom - innerHeight) >= 1 }; })(document.getElementById('canvas'))`;
  const follows = async (frame, what) => {
    await hold(fill, frame);
    const l = await fill.evaluate(layout), shot = await fill.canvasRGBA('#canvas');
    check(what, shot.width === l.dw && shot.height === l.dh && !l.bars && lit(shot) > 0.5,
          `canvas ${shot.width} x ${shot.height}, device pixels ${l.dw} x ${l.dh}, bars ${l.bars}, lit ${(100 * lit(shot)).toFixed(1)}%`);
    return shot;
  };
  const first = await follows(BEFORE_KEY, '?size=window draws at the canvas\'s device pixels, filling the page above the text');
  await fill.setViewport({ width: 900, height: 500, scale: 1.5 });
  // The page lays itself out anew on the browser's next turn; the program
  // reads the canvas at the start of each frame.
  await fill.waitFor(`innerWidth === 900 && devicePixelRatio === 1.5 && !${layout}.bars`, 5000);
  await release(fill);
  const second = await follows(KEY_FRAME, 'after a resize and a new pixel ratio the page follows the canvas');
  check('(control: the two sizes differ)', first.width !== second.width && first.height !== second.height);
  await fill.close();

  // In real time: Esc gives the pointer back and the walk pauses; a click resumes.
  const live = await browser.newPage(`${server.url}index.html?seed=1`);
  await live.waitFor('window.Module && Module.web && Module.web.frame >= 10');
  const hinted = await live.canvasRGBA('#canvas');
  await live.click(400, 300);
  await live.waitFor('Module.web.locked', 5000).catch(() => {});
  await live.pressKey('Escape', 'Escape', 27);
  const freed = await live.waitFor('!document.pointerLockElement', 5000).catch(() => false);
  const paused = await live.waitFor('Module.web.paused', 5000).catch(() => false);
  const frame = await live.evaluate('Module.web.frame');
  await live.waitFor(`Module.web.frame >= ${frame + 3}`);
  const pauseShot = await live.canvasRGBA('#canvas');
  check('Esc frees the pointer and pauses, with the pause line', freed && paused && yellowInMiddle(pauseShot) > 100,
        `freed ${freed}, paused ${paused}, ${yellowInMiddle(pauseShot)} yellow pixels across the middle (${yellowInMiddle(hinted)} before)`);
  await live.click(400, 300);
  const resumed = await live.waitFor('!Module.web.paused', 5000).catch(() => false);
  check('a click resumes', resumed);
  check('Escape does not end the walk', !(await live.evaluate('document.getElementById("message").textContent')));
  await live.close();

  // A failure report on the page, with its error number.
  const broken = await browser.newPage(`${server.url}index.html?maze=missing.obj`);
  const text = await broken.waitFor('(m => m && m.className === "failed" && m.textContent)(document.getElementById("message"))');
  check('a missing file is reported on the page with its number',
        text.startsWith('Stopped with error 2') && text.includes('Aborting due to runtime error 2 (file not found)') &&
        text.includes('missing.obj: no such file'), JSON.stringify(text.slice(0, 120)));
  check('and on the console', broken.console.some((l) => l.includes('Aborting due to runtime error 2')));
  await broken.close();
} catch (e) {
  check('the run', false, e.stack || String(e));
} finally {
  server.stop();
  await browser.close();
  rmSync(scratch, { recursive: true, force: true });
}
console.log(`${failures ? 'FAILED' : 'passed'} in ${((Date.now() - started) / 1000).toFixed(1)} s`);
process.exit(failures ? 1 : 0);
