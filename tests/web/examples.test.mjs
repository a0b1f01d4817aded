// The example games as web pages: pathfinder's box-drawing walls and shaded
// floor drawn on the canvas, and its walker sent round them by a click.

import assert from 'node:assert/strict';
import {test} from 'node:test';
import {fileURLToPath} from 'node:url';

import {census, counter, launch, openGame, serve, waitForScreen} from './harness.mjs';

const BUILD = process.env.CORVANE_WEB_BUILD || fileURLToPath(new URL('../../build-web', import.meta.url));
const CYAN = [0, 255, 255], BLUE = [0, 0, 255];

test('pathfinder draws box-drawing walls over a shaded floor, and walks round them on a click', async () => {
  const server = await serve(BUILD + '/site/pathfinder');
  const browser = await launch();
  try {
    const page = await openGame(browser, server.url);
    const lines = await waitForScreen(page, (lines) => lines.join('\n').includes('║'), 30, 'walls');
    // The wall hanging from the top at column 30, in the cell its rows round to.
    assert.equal(lines[1][30], '╥');
    assert.equal(lines[7][30], '║');
    assert.equal(lines[14][30], '╨');
    assert.equal(lines[20][5], '░');
    // On the canvas: the walls in cyan, the floor in blue.
    assert.ok((await census(page, CYAN, {left: 0.37, top: 0.1, right: 0.4, bottom: 0.55})).count > 200, 'cyan wall');
    assert.ok((await census(page, BLUE)).count > 50000, 'blue floor');
    // A click on the far side: the walker goes round both walls and arrives.
    const box = await (await page.$('#canvas')).boundingBox();
    await page.mouse.click(box.x + box.width * 70.5 / 80, box.y + box.height * 12.5 / 24);
    await waitForScreen(page, (lines) => counter(lines, 'Arrivals') == 1, 30, 'an arrival');
  } finally {
    await browser.close();
    server.close();
  }
});

test('hello runs as a page', async () => {
  const server = await serve(BUILD + '/site/hello');
  const browser = await launch();
  try {
    const page = await openGame(browser, server.url);
    await waitForScreen(page, (lines) => lines.join('\n').trim().length > 0, 30, 'anything drawn');
    assert.equal(await page.$eval('#status', (status) => status.className), '');
  } finally {
    await browser.close();
    server.close();
  }
});
