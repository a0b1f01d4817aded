// Measures tomato's web page in Debian's chromium (headless): the bytes it
// downloads (as served and gzipped), the time from opening the page to the
// title's first frame, the time a frame takes to paint, and the loop's pace
// over 30 s of play (mean and 99th percentile of the frames' distance from
// 33 ms). Run by scripts/web/bench-web.sh; a measurement, not a test.

import {readFile} from 'node:fs/promises';
import {gzipSync} from 'node:zlib';

import {columnOf, launch, openGame, serve, sleep, waitForScreen} from '../../tests/web/harness.mjs';

const site = process.argv[2];
const seconds = Number(process.argv[3] || 30);

function percentile(values, fraction) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(sorted.length * fraction))];
}

const report = {};
for (const file of ['index.html', 'tomato.js', 'tomato.wasm', 'tomato.data']) {
  const bytes = await readFile(`${site}/${file}`);
  report[file] = {bytes: bytes.length, gzipped: gzipSync(bytes, {level: 9}).length};
}

const server = await serve(site);
const browser = await launch();
try {
  const opened = Date.now();
  const page = await openGame(browser, server.url);
  await waitForScreen(page, (lines) => columnOf(lines, 'press P to play') >= 0, 60, 'title');
  report.first_title_frame_ms = await page.evaluate(() => Module.corvaneScreen.frames.find(() => true).at);
  report.open_to_title_ms = Date.now() - opened;
  await page.keyboard.press('p');
  await sleep(1000);
  await page.evaluate(() => { Module.corvaneScreen.frames = []; });
  // Walk and fire now and then, as a player does, while the frames are counted.
  const end = Date.now() + seconds * 1000;
  for (let turn = 0; Date.now() < end; turn++) {
    await page.keyboard.down(turn % 2 ? 'a' : 'd');
    await sleep(400);
    await page.keyboard.up(turn % 2 ? 'a' : 'd');
    await page.mouse.click(300, 200);
    if (await page.evaluate(() => Module.corvaneScreen.lines().join().includes('press P to play')))
      await page.keyboard.press('p');
  }
  const frames = await page.evaluate(() => Module.corvaneScreen.frames);
  const gaps = frames.slice(1).map((frame, i) => frame.at - frames[i].at);
  const deviations = gaps.map((gap) => Math.abs(gap - 33));
  const paints = frames.map((frame) => frame.paint);
  report.frames = frames.length;
  report.pace_mean_ms = gaps.reduce((a, b) => a + b, 0) / gaps.length;
  report.pace_deviation_mean_ms = deviations.reduce((a, b) => a + b, 0) / deviations.length;
  report.pace_deviation_p99_ms = percentile(deviations, 0.99);
  report.paint_mean_ms = paints.reduce((a, b) => a + b, 0) / paints.length;
  report.paint_p99_ms = percentile(paints, 0.99);
  await page.close();
} finally {
  await browser.close();
  server.close();
}
console.log(JSON.stringify(report, null, 2));
