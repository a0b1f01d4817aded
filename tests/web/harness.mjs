// What the web tests share: a static web server for a built page, Debian's
// chromium driven headless, and reading the game's screen as text and as
// pixels.

import {createServer} from 'node:http';
import {readFile} from 'node:fs/promises';
import {extname, join, normalize} from 'node:path';
import puppeteer from 'puppeteer-core';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
};

// Serves the files of `root` on 127.0.0.1 at a free port; `missing` names
// files to answer 404 for, as a broken host would.
export async function serve(root, missing = []) {
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^(\.\.[/\\])+/, '');
    const file = join(root, path === '/' ? 'index.html' : path);
    if (missing.some((name) => file.endsWith(name))) {
      response.writeHead(404).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, {'Content-Type': TYPES[extname(file)] || 'application/octet-stream'}).end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close()};
}

// Debian's chromium, headless, on a fresh profile, with a window the size of a small desktop.
export async function launch() {
  return puppeteer.launch({
    executablePath: process.env.CORVANE_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
           '--disable-sync', '--no-first-run', '--disable-quic', '--autoplay-policy=user-gesture-required',
           '--window-size=1100,900'],
    defaultViewport: {width: 1100, height: 900},
  });
}

// Makes the page's audio contexts start suspended until resume(), as a
// browser that lets a page make sound only after the player's first key or
// click does (headless chromium lets every page play at once).
const GATED_AUDIO = `(() => {
  const Context = window.AudioContext;
  window.AudioContext = class extends Context {
    constructor(options) { super(options); this.gated = true; super.suspend(); }
    get state() { return this.gated ? 'suspended' : super.state; }
    resume() { this.gated = false; return super.resume(); }
  };
})();`;

// Opens the game's page, collecting its console lines in `page.logLines`.
// `preRun` (a function) runs in the page before the game starts, with the
// game's Module object: it can put files or variables in place. With
// `gatedAudio`, sound waits for the first key or click as in a browser
// with an autoplay policy.
export async function openGame(browser, url, {preRun = null, gatedAudio = false} = {}) {
  const page = await browser.newPage();
  page.logLines = [];
  page.on('console', (message) => page.logLines.push(message.text()));
  page.on('pageerror', (error) => page.logLines.push('page error: ' + error.message));
  if (gatedAudio)
    await page.evaluateOnNewDocument(GATED_AUDIO);
  if (preRun)
    await page.evaluateOnNewDocument(`window.Module = {preRun: [${preRun.toString()}]};`);
  await page.goto(url);
  return page;
}

// The screen as text, a string per row ([] before the game draws).
export async function screenLines(page) {
  return page.evaluate(() => (window.Module && Module.corvaneScreen ? Module.corvaneScreen.lines() : []));
}

// Waits until `check(lines)` holds for the screen's text; the last text on timeout.
export async function waitForScreen(page, check, seconds, what) {
  const end = Date.now() + seconds * 1000;
  let lines = [];
  while (Date.now() < end) {
    lines = await screenLines(page);
    if (check(lines))
      return lines;
    await sleep(100);
  }
  throw new Error(`no ${what} within ${seconds} s; the screen shows:\n${lines.join('\n')}`);
}

// The canvas's pixels matching `test(r, g, b)`: their count and the mean x
// of them, in canvas pixels, within the rectangle of `area` (fractions of
// the canvas: {left, top, right, bottom}).
export async function census(page, color, area = {left: 0, top: 0, right: 1, bottom: 1}) {
  return page.evaluate((color, area) => {
    const canvas = document.getElementById('canvas');
    const context = canvas.getContext('2d');
    const left = Math.floor(area.left * canvas.width), top = Math.floor(area.top * canvas.height);
    const width = Math.floor((area.right - area.left) * canvas.width);
    const height = Math.floor((area.bottom - area.top) * canvas.height);
    const data = context.getImageData(left, top, width, height).data;
    let count = 0, sum = 0;
    for (let i = 0; i < data.length; i += 4) {
      const near = Math.abs(data[i] - color[0]) < 60 && Math.abs(data[i + 1] - color[1]) < 60 &&
                   Math.abs(data[i + 2] - color[2]) < 60;
      if (near) {
        count++;
        sum += left + ((i / 4) % width);
      }
    }
    return {count, meanX: count ? sum / count : -1};
  }, color, area);
}

// Waits until `check` (run in the page) is true.
export async function waitForPage(page, check, seconds, what) {
  const end = Date.now() + seconds * 1000;
  while (Date.now() < end) {
    if (await page.evaluate(check))
      return;
    await sleep(100);
  }
  throw new Error(`no ${what} within ${seconds} s`);
}

export function sleep(milliseconds) { return new Promise((resolve) => setTimeout(resolve, milliseconds)); }

// The value after `label` on the screen ("Bullets 2" gives 2), or NaN.
export function counter(lines, label) {
  for (const line of lines) {
    const match = line.match(new RegExp(label + '\\s+(-?\\d+)'));
    if (match)
      return Number(match[1]);
  }
  return NaN;
}

// The column of `text` on the first row that holds it, or -1.
export function columnOf(lines, text) {
  for (const line of lines) {
    const at = line.indexOf(text);
    if (at >= 0)
      return at;
  }
  return -1;
}
