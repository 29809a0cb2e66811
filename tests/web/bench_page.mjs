// The page's benchmark (?bench) in headless Chromium, as the page test drives
// it; prints the program's table for each address given:
//   node tests/web/bench_page.mjs WEB_DIR [QUERY ...]   (default: "bench")
// e.g. "bench&simd=off". With ISOLATED=1 in the environment the page is
// served cross-origin isolated (scripts/serve_web.py), so it may draw on
// threads.
import { launch, serve } from './cdp.mjs';

const [webDir, ...queries] = process.argv.slice(2);
if (!webDir) {
  console.error('usage: node bench_page.mjs WEB_DIR [QUERY ...]');
  process.exit(64);
}
const server = await serve(webDir, { isolated: process.env.ISOLATED === '1' });
// The WebAssembly is compiled optimised before it runs: otherwise the first
// modes are timed on the quick first compilation until the optimised code
// arrives, which on a busy machine takes many seconds.
const browser = await launch({ flags: ['--js-flags=--no-liftoff'] });
let failed = false;
try {
  console.log(browser.version);
  for (const query of queries.length ? queries : ['bench']) {
    const page = await browser.newPage(`${server.url}index.html?${query}`);
    const ended = await page.waitFor(`(window.Module && Module.ended) ||
      (m => m && m.className === 'failed' && { status: m.textContent })(document.getElementById('message'))`, 600000, 200);
    const drawing = await page.evaluate('document.getElementById("drawing").textContent');
    console.log(`?${query} (${drawing}), exit status ${ended.status}:`);
    console.log(await page.evaluate('document.getElementById("output").textContent'));
    if (ended.status !== 0) failed = true;
    await page.close();
  }
} finally {
  server.stop();
  await browser.close();
}
process.exit(failed ? 1 : 0);
