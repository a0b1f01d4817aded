// Tomato in a browser: the page built by scripts/build-web.sh, played in
// Debian's chromium (headless) as a player plays it, and the ways a page
// fails, each showing its reason.
// Run: node --test tests/web/ (CORVANE_WEB_BUILD names the web build, build-web/ by default).

import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';
import {fileURLToPath} from 'node:url';

import {census, columnOf, counter, launch, openGame, screenLines, serve, sleep, waitForPage, waitForScreen} from './harness.mjs';

// The web build to test (scripts/build-web.sh), build-web/ by default.
const BUILD = process.env.CORVANE_WEB_BUILD || fileURLToPath(new URL('../../build-web', import.meta.url));
const GAME = BUILD + '/game';
const RED = [255, 0, 0];

let browser;
before(async () => { browser = await launch(); });
after(async () => { await browser.close(); });

// A preRun step: the game reads its configuration from a file of the test's.
function configured(text) {
  return new Function(`ENV.CORVANE_CONFIG = '/test-config.txt'; FS.writeFile('/test-config.txt', ${JSON.stringify(text)});`);
}

test('tomato plays in the page: title, play, walk, fire, pause, sound, game over and the stop banner', async () => {
  const server = await serve(GAME);
  try {
    const page = await openGame(browser, server.url, {preRun: configured('random_seed:3,'), gatedAudio: true});
    // The title, in its colour, and the note that sound waits for the player.
    await waitForScreen(page, (lines) => columnOf(lines, 'press P to play') >= 0, 30, 'title');
    assert.ok((await census(page, RED)).count > 2000, 'the title is drawn in red');
    assert.equal(await page.$eval('#sound', (note) => getComputedStyle(note).display != 'none'), true,
                 'the page says sound waits for a key');

    // P starts a game: the hero, the walls and the counters. The key also lets sound play.
    await page.keyboard.press('p');
    let lines = await waitForScreen(page, (lines) => counter(lines, 'Bullets') >= 0 && columnOf(lines, '(     )') >= 0,
                                    10, 'game');
    await waitForPage(page, () => Module.corvaneAudio.unlocked, 5, 'sound let on by the key');
    assert.equal(await page.$eval('#sound', (note) => getComputedStyle(note).display), 'none', 'the note is gone');
    // The music asked for before the key plays now.
    assert.ok(await page.evaluate(() => Module.corvaneAudio.players.some((player) => player && player.source)),
              'music plays');

    // D held walks the hero right, on the screen and in its pixels.
    const hero_column = columnOf(lines, '(     )');
    const hero_rows = {left: 0, top: 0.6, right: 0.66, bottom: 1};
    const before_walk = await census(page, RED, hero_rows);
    await page.keyboard.down('d');
    await sleep(600);
    await page.keyboard.up('d');
    lines = await waitForScreen(page, (lines) => columnOf(lines, '(     )') > hero_column, 5, 'hero further right');
    const after_walk = await census(page, RED, hero_rows);
    assert.ok(after_walk.meanX > before_walk.meanX + 10, `the hero's pixels move right (${before_walk.meanX} to ${after_walk.meanX})`);

    // The red reticle follows the mouse to its cell.
    const canvas = await page.$('#canvas');
    const box = await canvas.boundingBox();
    const aim = {x: 0.2, y: 0.3};
    const aim_column = Math.round(aim.x * 80), aim_row = Math.round(aim.y * 24);
    await page.mouse.move(box.x + box.width * aim.x, box.y + box.height * aim.y);
    await waitForScreen(page, (lines) => lines[aim_row] && lines[aim_row].substr(aim_column - 1, 3).includes('+'), 5,
                        `the reticle near column ${aim_column} of row ${aim_row}`);

    // A click fires: one bullet fewer.
    const bullets = counter(lines, 'Bullets');
    await page.mouse.click(box.x + box.width * aim.x, box.y + box.height * aim.y);
    await waitForScreen(page, (lines) => counter(lines, 'Bullets') == bullets - 1, 5, `Bullets ${bullets - 1}`);

    // The space bar raises the reflector, which drains its power.
    const power = counter(await screenLines(page), 'RFL POWER');
    await page.keyboard.press(' ');
    await waitForScreen(page, (lines) => counter(lines, 'RFL POWER') < power, 5, 'the reflector draining');
    await page.keyboard.press(' ');

    // F10 pauses with its message; any key resumes.
    await page.keyboard.press('F10');
    await waitForScreen(page, (lines) => columnOf(lines, 'PAUSED') >= 0, 5, 'pause message');
    const paused = await screenLines(page);
    await sleep(500);
    assert.deepEqual(await screenLines(page), paused, 'nothing moves while paused');
    await page.keyboard.press('x');
    await waitForScreen(page, (lines) => columnOf(lines, 'PAUSED') < 0, 5, 'the game going on');

    // Standing still, the hero is hit sooner or later; the title returns after the game-over picture.
    await waitForScreen(page, (lines) => columnOf(lines, 'press P to play') >= 0, 90, 'title after game over');

    // The page asks the game to stop: the log ends with the stop banner.
    await page.evaluate(() => Module._corvane_request_stop());
    const end = Date.now() + 10000;
    while (Date.now() < end && !page.logLines.some((line) => line.includes('** Game engine stopped **')))
      await sleep(100);
    const last = page.logLines.filter((line) => line.match(/^\d\d:\d\d:\d\d /)).pop() || '';
    assert.match(last, /\*\* Game engine stopped \*\*$/, 'the log ends with the stop banner');
    await page.close();
  } finally {
    server.close();
  }
});

test('networking is refused in a browser, and the page says why', async () => {
  const server = await serve(GAME);
  try {
    const page = await openGame(browser, server.url, {preRun: configured('networking:true,')});
    const end = Date.now() + 30000;
    let status = '';
    while (Date.now() < end && !status.includes('status 1'))
      status = await page.$eval('#status', (element) => element.textContent).catch(() => '');
    assert.match(status, /a web page has no TCP sockets/, status);
    assert.ok(page.logLines.includes(
        'NetworkManager::startUp(): Error! a web page has no TCP sockets: networking does not run in a browser.') ||
        page.logLines.some((line) => line.endsWith('NetworkManager::startUp(): Error! a web page has no TCP sockets: networking does not run in a browser.')));
    await page.close();
  } finally {
    server.close();
  }
});

test('a page whose data file is missing says so instead of showing nothing', async () => {
  const server = await serve(GAME, ['tomato.data']);
  try {
    const page = await openGame(browser, server.url);
    const end = Date.now() + 30000;
    let status = '';
    while (Date.now() < end && !/could not|stopped/.test(status))
      status = await page.$eval('#status', (element) => element.textContent);
    assert.match(status, /could not run|stopped/, status);
    assert.equal(await page.$eval('#canvas', (canvas) => getComputedStyle(canvas).display), 'none');
    await page.close();
  } finally {
    server.close();
  }
});

test('a game keeps its saved files in the browser across a reload', async () => {
  const server = await serve(BUILD + '/tests/web/save-game');
  try {
    const page = await openGame(browser, server.url);
    const first = await waitForScreen(page, (lines) => /run \d+/.test(lines.join()), 20, 'a count');
    const runs = Number(first.join().match(/run (\d+)/)[1]);
    await page.reload();
    await waitForScreen(page, (lines) => lines.join().includes(`run ${runs + 1}`), 20, `run ${runs + 1}`);
    await page.close();
  } finally {
    server.close();
  }
});
