// A game maker's own game built against the installed web package (the
// tiny game of tests/install/, built by scripts/web/test-web.sh): its page
// runs the game to its end, which prints where the walker got to.

import assert from 'node:assert/strict';
import {test} from 'node:test';
import {fileURLToPath} from 'node:url';

import {launch, openGame, serve, sleep} from './harness.mjs';

const BUILD = process.env.CORVANE_WEB_BUILD || fileURLToPath(new URL('../../build-web', import.meta.url));

test('a game built against the installed web package runs in its page', async () => {
  const server = await serve(BUILD + '/tiny-game');
  const browser = await launch();
  try {
    const page = await openGame(browser, server.url);
    const end = Date.now() + 20000;
    while (Date.now() < end && !page.logLines.some((line) => line.includes('Game engine stopped')))
      await sleep(100);
    assert.ok(page.logLines.includes('walker at 15,5'), page.logLines.join('\n'));
    assert.match(await page.$eval('#status', (status) => status.textContent), /The game has ended/);
  } finally {
    await browser.close();
    server.close();
  }
});
