// A small DevTools-protocol client for headless Chromium, with no packages:
// the browser talks over --remote-debugging-pipe (file descriptors 3 and 4,
// messages ended by NUL), so no port is opened for it. Node 18 or later.
//   const browser = await launch();
//   const page = await browser.newPage(url);  // send(), evaluate(), waitFor(), ...
//   await browser.close();
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const FLAGS = [
  '--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-quic',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--disable-dev-shm-usage', '--disable-background-timer-throttling',
  '--disable-renderer-backgrounding', '--disable-backgrounding-occluded-windows',
  '--window-size=800,600',
];

export async function launch({ binary = process.env.CHROMIUM || '/usr/bin/chromium', log = () => {}, flags = [] } = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'mazewalk-chromium-'));
  // A process group of its own, so that its helpers end with it.
  const proc = spawn(binary, [...FLAGS, ...flags, `--user-data-dir=${profile}`, '--remote-debugging-pipe', 'about:blank'],
                     { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'], detached: true });
  proc.stderr.on('data', (d) => log('[chromium] ' + String(d).trimEnd()));
  const exited = new Promise((resolve) => proc.on('exit', resolve));
  const toBrowser = proc.stdio[3], fromBrowser = proc.stdio[4];
  let nextId = 1, buffer = Buffer.alloc(0);
  const pending = new Map(), listeners = [];
  fromBrowser.on('data', (chunk) => {
    buffer = Buffer.concat([buffer, chunk]);
    for (let end; (end = buffer.indexOf(0)) >= 0; buffer = buffer.subarray(end + 1)) {
      const msg = JSON.parse(buffer.subarray(0, end).toString('utf8'));
      const waiting = msg.id && pending.get(msg.id);
      if (waiting) {
        pending.delete(msg.id);
        msg.error ? waiting.reject(new Error(`${waiting.method}: ${msg.error.message}`)) : waiting.resolve(msg.result);
      } else {
        for (const l of listeners) l(msg);
      }
    }
  });
  exited.then(() => { for (const p of pending.values()) p.reject(new Error('chromium exited')); });
  const send = (method, params = {}, sessionId) => new Promise((resolve, reject) => {
    const id = nextId++;
    pending.set(id, { resolve, reject, method });
    toBrowser.write(JSON.stringify({ id, method, params, ...(sessionId ? { sessionId } : {}) }) + '\0');
  });
  const version = await send('Browser.getVersion');

  // VIEWPORT ({ width, height, scale }) is set before the page loads.
  async function newPage(url, { viewport } = {}) {
    const { targetId } = await send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await send('Target.attachToTarget', { targetId, flatten: true });
    const s = (method, params) => send(method, params, sessionId);
    const page = {
      send: s, console: [], errors: [],
      on(method, fn) { listeners.push((m) => m.sessionId === sessionId && m.method === method && fn(m.params)); },
      async evaluate(expression) {
        const r = await s('Runtime.evaluate', { expression, returnByValue: true, awaitPromise: true });
        if (r.exceptionDetails) throw new Error('page: ' + (r.exceptionDetails.exception?.description ?? r.exceptionDetails.text));
        return r.result.value;
      },
      // Polls EXPRESSION until it is truthy and returns its value.
      async waitFor(expression, timeoutMs = 30000, everyMs = 20) {
        const until = Date.now() + timeoutMs;
        for (;;) {
          const v = await page.evaluate(expression);
          if (v) return v;
          if (page.errors.length) throw new Error(`page error while waiting for ${expression}:\n${page.errors.join('\n')}`);
          if (Date.now() > until) {
            throw new Error(`timed out waiting for ${expression}\nconsole:\n${page.console.join('\n')}`);
          }
          await new Promise((r) => setTimeout(r, everyMs));
        }
      },
      // The canvas's RGBA bytes as getImageData reads them.
      async canvasRGBA(selector = 'canvas') {
        const text = await page.evaluate(`(() => {
          const c = document.querySelector(${JSON.stringify(selector)});
          const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
          let s = '';
          for (let i = 0; i < d.length; i += 0x8000) s += String.fromCharCode.apply(null, d.subarray(i, i + 0x8000));
          return c.width + 'x' + c.height + ':' + btoa(s);
        })()`);
        const [size, data] = text.split(':');
        const [width, height] = size.split('x').map(Number);
        return { width, height, rgba: Buffer.from(data, 'base64') };
      },
      // A key pressed and let go, by KeyboardEvent.code.
      async pressKey(code, key, keyCode) {
        const common = { code, key, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode };
        await s('Input.dispatchKeyEvent', { type: 'keyDown', ...common, ...(key.length === 1 ? { text: key } : {}) });
        await s('Input.dispatchKeyEvent', { type: 'keyUp', ...common });
      },
      async click(x, y) {
        const at = { x, y, button: 'left', clickCount: 1 };
        await s('Input.dispatchMouseEvent', { type: 'mouseMoved', x, y });
        await s('Input.dispatchMouseEvent', { type: 'mousePressed', ...at });
        await s('Input.dispatchMouseEvent', { type: 'mouseReleased', ...at });
      },
      async screenshot() {
        const shot = await s('Page.captureScreenshot', { format: 'png' });
        return Buffer.from(shot.data, 'base64');
      },
      // The page's area in CSS pixels and its device pixel ratio, as a resized
      // window or a zoom would change them.
      setViewport: ({ width, height, scale = 1 }) =>
        s('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: scale, mobile: false }),
      close: () => send('Target.closeTarget', { targetId }),
    };
    page.on('Runtime.consoleAPICalled', (p) => page.console.push(p.args.map((a) => a.value ?? a.description).join(' ')));
    page.on('Runtime.exceptionThrown', (p) => page.errors.push(p.exceptionDetails.exception?.description ?? p.exceptionDetails.text));
    await s('Runtime.enable');
    await s('Page.enable');
    if (viewport) await page.setViewport(viewport);
    await s('Page.navigate', { url });
    return page;
  }

  async function close() {
    try { await Promise.race([send('Browser.close'), new Promise((r) => setTimeout(r, 3000))]); } catch {}
    if (proc.exitCode === null && proc.signalCode === null) proc.kill('SIGKILL');
    await exited;
    try { process.kill(-proc.pid, 'SIGKILL'); } catch {}  // helpers left in its group
    await new Promise((r) => setTimeout(r, 100));
    rmSync(profile, { recursive: true, force: true, maxRetries: 20, retryDelay: 100 });
  }
  return { newPage, close, version: version.product };
}

// Serves DIR on a free port of 127.0.0.1 (scripts/serve_web.py): plain, or
// with ISOLATED the headers that make the page cross-origin isolated.
export async function serve(dir, { isolated = false } = {}) {
  const script = new URL('../../scripts/serve_web.py', import.meta.url).pathname;
  const proc = spawn('python3', ['-u', script, ...(isolated ? [] : ['--plain']), dir, '0'],
                     { stdio: ['ignore', 'pipe', 'pipe'] });
  proc.stderr.resume();
  const port = await new Promise((resolve, reject) => {
    let out = '';
    proc.stdout.on('data', (d) => { out += d; const m = out.match(/port (\d+)/); if (m) resolve(Number(m[1])); });
    proc.on('exit', () => reject(new Error('serve_web.py ended: ' + out)));
  });
  return { url: `http://127.0.0.1:${port}/`, stop: () => proc.kill() };
}
