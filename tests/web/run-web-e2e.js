#!/usr/bin/env node
// End-to-end cases of the browser build: the static folder served on 127.0.0.1, played in
// headless Chromium over the DevTools protocol, read from screenshots with pax-e2e-inspect (the
// helper of the Linux end-to-end test, here run under node).
//   run-web-e2e.js CASE SITE_DIR ASSETS_DIR INSPECT_COMMAND...
// Cases:
//   page       title, favicon, the board centred at a whole number of device pixels per
//              picture pixel (device pixel ratio 1 and 2), grid, separator and rule exact, a
//              tile in every cell; the time to the first frame
//   clicks     a single click changes nothing; a double click removes its group as the rules
//              say; keys and pointer moves cost the game no frame; a double tap is a double
//              click; the pointer counts where it is when the double click is handled
//   game-over  the dialog after the time runs out, over the board, with the focus on Yes;
//              Escape does nothing; Yes (Y) deals a new board; No (the mouse) ends the game
//              with the final picture shown and a way to start again, which starts one
//   size       script and WebAssembly, gzip-compressed, within the budget
// Every case fails when anything reaches the browser's console as an error. PAX_WEB_E2E_KEEP=DIR
// keeps the screenshots there. Exit status 0 when the case holds, 1 when not, 2 on a usage error,
// 77 when there is no Chromium to run it in.
'use strict';

const { spawnSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const browser = require('./browser');

const WIDTH = 421;
const HEIGHT = 450;
const PITCH = 42;
const FIRST_FRAME_BUDGET_MS = 300;
const LOADS = 7;
// The exit status of a case that cannot run here (CTest's SKIP_RETURN_CODE).
const SKIPPED = 77;
const SIZE_BUDGET_BYTES = 250 * 1000;
// The drain empties a full time budget in 1000 frames of at least 20 ms.
const GAME_LENGTH_MS = 1000 * 20;

const [caseName, site, assets, ...inspect] = process.argv.slice(2);
if (!caseName || !site || !assets || inspect.length === 0) {
  console.error('usage: run-web-e2e.js CASE SITE_DIR ASSETS_DIR INSPECT_COMMAND...');
  process.exit(2);
}

const scratch = browser.scratchFolder(`pax-web-${caseName}`);
const keep = process.env.PAX_WEB_E2E_KEEP;
let shots = 0;

function note(text) {
  console.log(`${caseName}: ${text}`);
}

function check(condition, why) {
  if (!condition) throw new Error(why);
}

function runInspect(...args) {
  const [command, ...rest] = inspect;
  const result = spawnSync(command, [...rest, ...args], { encoding: 'utf8' });
  if (result.error) throw new Error(`cannot run ${inspect.join(' ')}: ${result.error.message}`);
  return { ok: result.status === 0, out: result.stdout.trim(), err: result.stderr.trim() };
}

function writePpm(name, picture) {
  const file = path.join(scratch, `${name}.ppm`);
  fs.writeFileSync(file, Buffer.concat([Buffer.from(`P6\n${WIDTH} ${HEIGHT}\n255\n`), picture]));
  if (keep) {
    fs.mkdirSync(keep, { recursive: true });
    fs.copyFileSync(file, path.join(keep, `${caseName}-${String(++shots).padStart(2, '0')}-${name}.ppm`));
  }
  return file;
}

// One page in the browser, with everything that reaches its console kept.
class Page {
  constructor(tools, sessionId) {
    this.tools = tools;
    this.sessionId = sessionId;
    this.errors = [];
    tools.on((message) => {
      if (message.sessionId !== sessionId) return;
      const p = message.params;
      if (message.method === 'Runtime.consoleAPICalled' && (p.type === 'error' || p.type === 'assert')) {
        this.errors.push(`console.${p.type}: ${p.args.map((a) => a.value ?? a.description).join(' ')}`);
      } else if (message.method === 'Runtime.exceptionThrown') {
        this.errors.push(`exception: ${p.exceptionDetails.exception?.description ?? p.exceptionDetails.text}`);
      } else if (message.method === 'Log.entryAdded' && p.entry.level === 'error') {
        this.errors.push(`log: ${p.entry.text} ${p.entry.url ?? ''}`);
      }
    });
  }

  send(method, params) {
    return this.tools.send(method, params, this.sessionId);
  }

  async evaluate(expression) {
    const result = await this.send('Runtime.evaluate', { expression, returnByValue: true, awaitPromise: true });
    if (result.exceptionDetails) throw new Error(`${expression}: ${result.exceptionDetails.text}`);
    return result.result.value;
  }

  async open(url, viewport) {
    await this.send('Emulation.setDeviceMetricsOverride', {
      width: viewport.width, height: viewport.height, deviceScaleFactor: viewport.ratio, mobile: false,
    });
    await this.send('Page.navigate', { url });
    await this.firstFrame();
  }

  // Milliseconds from the navigation to the first picture on the screen.
  async firstFrame() {
    return browser.waitUntil('the first frame', 10000, () => this.evaluate(
      "performance.getEntriesByName('paxmorella-first-frame').map((e) => e.startTime)[0]"));
  }

  // The board's box in CSS pixels and the device pixel ratio.
  board() {
    return this.evaluate(`(() => {
      const r = document.getElementById('board').getBoundingClientRect();
      return { left: r.left, top: r.top, width: r.width, height: r.height,
               ratio: window.devicePixelRatio, innerWidth, innerHeight };
    })()`);
  }

  // The board as the screen shows it, one value per picture pixel; fails unless every picture
  // pixel covers a whole square of device pixels of one colour.
  async picture(name) {
    const box = await this.board();
    const shot = await this.send('Page.captureScreenshot', {
      format: 'png',
      clip: { x: box.left, y: box.top, width: box.width, height: box.height, scale: 1 },
    });
    const png = browser.decodePng(Buffer.from(shot.data, 'base64'));
    const scale = png.width / WIDTH;
    check(Number.isInteger(scale) && png.height === HEIGHT * scale,
      `the board shows as ${png.width} x ${png.height} device pixels, not a whole multiple of ${WIDTH} x ${HEIGHT}`);
    const picture = Buffer.alloc(WIDTH * HEIGHT * 3);
    for (let y = 0; y < HEIGHT; ++y) {
      for (let x = 0; x < WIDTH; ++x) {
        const first = ((y * scale) * png.width + x * scale) * 3;
        for (let dy = 0; dy < scale; ++dy) {
          for (let dx = 0; dx < scale; ++dx) {
            const at = (((y * scale) + dy) * png.width + x * scale + dx) * 3;
            check(png.rgb.compare(png.rgb, first, first + 3, at, at + 3) === 0,
              `picture pixel (${x}, ${y}) is not one colour on the screen: smoothed`);
          }
        }
        png.rgb.copy(picture, (y * WIDTH + x) * 3, first, first + 3);
      }
    }
    return { file: writePpm(name, picture), pixels: picture, scale, box };
  }

  async readBoard(name) {
    const shot = await this.picture(name);
    const board = runInspect('board', shot.file, assets);
    return { ...shot, board: board.ok ? board.out : null, why: board.err };
  }

  // A board that has stopped changing: the same in two screenshots in a row.
  async settledBoard(name) {
    let last = null;
    return browser.waitUntil(`a settled board (${name})`, 5000, async () => {
      const now = await this.readBoard(name);
      const same = now.board && last && now.board === last.board;
      last = now;
      return same ? now : null;
    });
  }

  // A digest of the board's area as the canvas holds it: cheap enough to poll every few ms.
  boardDigest() {
    return this.evaluate(`(() => {
      const d = document.getElementById('board').getContext('2d').getImageData(0, 0, ${WIDTH}, ${PITCH * 10}).data;
      let h = 0;
      for (let i = 0; i < d.length; i += 4) h = (Math.imul(h, 31) + d[i] + (d[i + 1] << 8) + (d[i + 2] << 16)) | 0;
      return h;
    })()`);
  }

  async barFill(name) {
    const shot = await this.picture(name);
    const bar = runInspect('bar', shot.file);
    check(bar.ok, `no time bar: ${bar.err}`);
    return Number(bar.out);
  }

  // CSS coordinates of picture pixel (x, y)'s centre.
  static at(box, x, y) {
    return { x: box.left + ((x + 0.5) * box.width) / WIDTH, y: box.top + ((y + 0.5) * box.height) / HEIGHT };
  }

  static cellCentre(box, cell) {
    return Page.at(box, cell[0] * PITCH + PITCH / 2, cell[1] * PITCH + PITCH / 2);
  }

  mouse(type, point, clickCount = 0) {
    return this.send('Input.dispatchMouseEvent', {
      type, x: point.x, y: point.y, button: type === 'mouseMoved' ? 'none' : 'left', clickCount,
    });
  }

  async click(point, count) {
    await this.mouse('mouseMoved', point);
    for (let n = 1; n <= count; ++n) {
      await this.mouse('mousePressed', point, n);
      await this.mouse('mouseReleased', point, n);
    }
  }

  // A double click at `from` and a pointer move to `to`, all in one task of the page. The
  // browser's own pointer goes to `to` first: it may repeat its last move to the page at any
  // time (after a repaint, for one), and that must not take the pointer back.
  async doubleClickThenMove(from, to) {
    await this.mouse('mouseMoved', to);
    return this.evaluate(`(() => {
      const board = document.getElementById('board');
      const at = (p, detail) => ({ bubbles: true, clientX: p.x, clientY: p.y, button: 0, detail });
      for (const detail of [1, 2]) {
        board.dispatchEvent(new MouseEvent('mousedown', at(${JSON.stringify(from)}, detail)));
        board.dispatchEvent(new MouseEvent('mouseup', at(${JSON.stringify(from)}, detail)));
      }
      document.dispatchEvent(new MouseEvent('mousemove', at(${JSON.stringify(to)}, 0)));
    })()`);
  }

  async tap(point) {
    const touchPoints = [{ x: point.x, y: point.y }];
    await this.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints });
    await this.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  }

  // A key pressed and released; `text` is what it types (Enter types a carriage return).
  async key(key, code, keyCode, text = key) {
    const base = { key, code, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode };
    await this.send('Input.dispatchKeyEvent', { type: 'keyDown', ...base, text });
    await this.send('Input.dispatchKeyEvent', { type: 'keyUp', ...base });
  }
}

// Frames run: the time bar has lost at least `pixels` since `fill`.
async function framesPass(page, fill, pixels, name) {
  await browser.waitUntil(`the time bar to shrink by ${pixels} pixels`, 5000,
    async () => (await page.barFill(name)) <= fill - pixels);
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

function pick(board) {
  const targets = runInspect('pick', board);
  check(targets.ok, `no two groups on the board: ${targets.err}`);
  const n = targets.out.split(' ').map(Number);
  return { double: [n[0], n[1]], single: [n[2], n[3]] };
}

// A cell whose tile has no like neighbour: a double click there removes nothing.
function loneCell(board) {
  const kind = (x, y) => (x < 0 || y < 0 || x > 9 || y > 9 ? null : board[x * 10 + y]);
  for (let x = 0; x < 10; ++x) {
    for (let y = 0; y < 10; ++y) {
      const k = kind(x, y);
      if (k !== kind(x - 1, y) && k !== kind(x + 1, y) && k !== kind(x, y - 1) && k !== kind(x, y + 1)) return [x, y];
    }
  }
  return null;
}

// Waits for the board on the canvas to change after the input that `act` gives, then checks
// that the change is the removal of the group at `cell`.
async function expectRemoval(page, before, cell, name, withinMs, act) {
  const digest = await page.boardDigest();
  await act();
  const started = Date.now();
  await browser.waitUntil(`the group at ${cell} to go (${name})`, withinMs,
    async () => (await page.boardDigest()) !== digest, 5);
  const took = Date.now() - started;
  const settled = await page.settledBoard(name);
  const removal = runInspect('removal', before, settled.board, String(cell[0]), String(cell[1]));
  check(removal.ok, `${name}: the board after the double click is not the rules' result: ${removal.err}`);
  note(`${name}: group at (${cell}) removed ${took} ms after the input`);
  return settled.board;
}

const cases = {
  async page(page, url) {
    // The time from navigation to the first frame on the screen, against the floor of the
    // page's own first paint (its background, before the script has run), over several loads.
    // Nothing comes from the browser's cache: every load is a first visit.
    await page.send('Network.enable');
    await page.send('Network.setCacheDisabled', { cacheDisabled: true });
    const firstFrames = [];
    const firstPaints = [];
    for (let load = 0; load < LOADS; ++load) {
      await page.open(url, { width: 800, height: 601, ratio: 1 });
      // The browser reports its paints once they are on the screen, which may be after the
      // game's first frame has been noted.
      const t = await browser.waitUntil('the page\'s first paint to be reported', 5000, () => page.evaluate(`(() => {
        const frame = performance.getEntriesByName('paxmorella-first-frame')[0];
        const paint = performance.getEntriesByName('first-paint')[0];
        return frame && paint && { frame: frame.startTime, paint: paint.startTime };
      })()`));
      firstFrames.push(t.frame);
      firstPaints.push(t.paint);
    }
    const frame = median(firstFrames);
    const paint = median(firstPaints);
    note(`first frame on screen ${frame.toFixed(1)} ms after navigation, first paint of the page ` +
      `${paint.toFixed(1)} ms (medians of ${LOADS} loads; ratio ${(frame / paint).toFixed(2)}); ` +
      `loads: ${firstFrames.map((t) => t.toFixed(0)).join(' ')} ms`);
    check(frame <= FIRST_FRAME_BUDGET_MS, `the first frame took ${frame.toFixed(1)} ms, more than ${FIRST_FRAME_BUDGET_MS}`);

    for (const viewport of [{ width: 800, height: 601, ratio: 1 }, { width: 901, height: 1000, ratio: 2 }]) {
      await page.open(url, viewport);
      check((await page.evaluate('document.title')) === 'Paxmorella', 'the page title is not "Paxmorella"');
      const icons = await page.evaluate(`Promise.all([...document.querySelectorAll('link[rel=icon]')].map(
        (l) => fetch(l.href).then((r) => r.ok && r.headers.get('content-type') === 'image/png')))`);
      check(icons.length > 0 && icons.every(Boolean), 'the favicon links do not all give PNG images');

      const box = await page.board();
      const centreX = box.left + box.width / 2 - box.innerWidth / 2;
      check(Math.abs(centreX) <= 1 / box.ratio + 1e-6, `the board is not centred across: ${JSON.stringify(box)}`);
      check(box.top >= 0 && box.top + box.height <= box.innerHeight, 'the board does not fit the window');

      const shot = await page.picture(`ratio-${viewport.ratio}`);
      check(shot.scale === viewport.ratio,
        `at device pixel ratio ${viewport.ratio} a picture pixel covers ${shot.scale} device pixels`);
      const layout = runInspect('layout', shot.file);
      check(layout.ok, `the fixed pixels of the picture are wrong: ${layout.err}`);
      const board = runInspect('board', shot.file, assets);
      check(board.ok, `a cell shows none of the four tiles: ${board.err}`);
      note(`device pixel ratio ${viewport.ratio}: layout exact, board ${board.out}`);
    }
  },

  async clicks(page, url) {
    await page.open(url, { width: 700, height: 640, ratio: 1 });
    let { board, box } = await page.settledBoard('start');
    check(board, 'no board on the page');
    let targets = pick(board);

    // A single click on a group: the board stays as it is while frames go by.
    const fill = await page.barFill('bar');
    await page.click(Page.cellCentre(box, targets.single), 1);
    await framesPass(page, fill, 4, 'after-single');
    const afterSingle = await page.readBoard('after-single');
    check(afterSingle.board === board, `a single click changed the board: ${board} -> ${afterSingle.board}`);
    note('a single click changed nothing');

    // A double click on a group removes it.
    board = await expectRemoval(page, board, targets.double, 'double-click', 3000,
      () => page.click(Page.cellCentre(box, targets.double), 2));

    // Hundreds of keys and pointer moves waiting in front of a double click: none of them costs
    // a frame, so the double click is handled within a few frames (at one frame each, the
    // backlog would hold it back for seconds).
    targets = pick(board);
    board = await expectRemoval(page, board, targets.double, 'after-keys', 2000, async () => {
      for (let i = 0; i < 150; ++i) {
        await page.key('a', 'KeyA', 65);
        await page.mouse('mouseMoved', Page.at(box, 5 + (i % 50), 5));
      }
      await page.click(Page.cellCentre(box, targets.double), 2);
    });

    // A double tap is a double click.
    await page.send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 1 });
    targets = pick(board);
    board = await expectRemoval(page, board, targets.double, 'double-tap', 3000, async () => {
      await page.tap(Page.cellCentre(box, targets.double));
      await page.tap(Page.cellCentre(box, targets.double));
    });
    await page.send('Emulation.setTouchEmulationEnabled', { enabled: false });

    // The pointer is read when the double click is handled, a few frames after the second
    // press: a double click on a lone tile, with the pointer on a group straight after it,
    // removes that group. The presses and the move go in one task of the page, so that no
    // frame can come between them, however slowly this test runs.
    box = await page.board();
    const lone = loneCell(board);
    check(lone, `no lone tile on the board ${board}`);
    targets = pick(board);
    board = await expectRemoval(page, board, targets.double, 'moved-after', 3000,
      () => page.doubleClickThenMove(Page.cellCentre(box, lone), Page.cellCentre(box, targets.double)));

    // With the pointer off the board by then, nothing happens.
    targets = pick(board);
    const fillNow = await page.barFill('bar');
    await page.doubleClickThenMove(Page.cellCentre(box, targets.double),
      { x: box.left + box.width + 20, y: box.top + 10 });
    await framesPass(page, fillNow, 4, 'moved-off');
    const afterOff = await page.readBoard('moved-off');
    check(afterOff.board === board, 'a double click handled with the pointer off the board removed something');
    note('the pointer counts where it is when the double click is handled');
  },

  async 'game-over'(page, url) {
    await page.open(url, { width: 700, height: 640, ratio: 1 });
    const dialogOpen = () => page.evaluate("document.getElementById('question').open");
    const waitForDialog = () => browser.waitUntil('the game-over dialog', GAME_LENGTH_MS * 3, dialogOpen, 100);

    const started = Date.now();
    await waitForDialog();
    note(`the dialog opened ${Date.now() - started} ms after the first frame`);
    const dialog = await page.evaluate(`(() => {
      const d = document.getElementById('question');
      const r = d.getBoundingClientRect();
      return { title: document.getElementById('question-title').textContent,
               text: document.getElementById('question-text').textContent,
               focused: document.activeElement && document.activeElement.id,
               buttons: [...d.querySelectorAll('button')].map((b) => b.textContent),
               modal: d.matches(':modal'),
               box: { left: r.left, top: r.top, right: r.right, bottom: r.bottom } };
    })()`);
    check(dialog.title === 'Game Over', `dialog title ${JSON.stringify(dialog.title)}`);
    check(/^Game Over - Score: \d+\.\nPlay again\?$/.test(dialog.text), `dialog text ${JSON.stringify(dialog.text)}`);
    check(dialog.buttons.join(',') === 'Yes,No', `dialog buttons ${dialog.buttons}`);
    check(dialog.focused === 'question-yes', `the focus is on ${dialog.focused}, not on Yes`);
    check(dialog.modal, 'the dialog is not modal');

    // The board stays painted under the box: every pixel of it that the box leaves uncovered
    // shows the final picture, and the time bar is empty.
    const under = await page.picture('under-dialog');
    const canvas = Buffer.from(await page.evaluate(`(() => {
      const c = document.getElementById('board');
      const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      let s = '';
      for (let i = 0; i < d.length; i += 4) s += String.fromCharCode(d[i], d[i + 1], d[i + 2]);
      return btoa(s);
    })()`), 'base64');
    let compared = 0;
    for (let y = 0; y < HEIGHT; ++y) {
      for (let x = 0; x < WIDTH; ++x) {
        const p = Page.at(under.box, x, y);
        if (p.x >= dialog.box.left - 8 && p.x <= dialog.box.right + 8 && p.y >= dialog.box.top - 8 && p.y <= dialog.box.bottom + 8) continue;
        const at = (y * WIDTH + x) * 3;
        check(under.pixels.compare(canvas, at, at + 3, at, at + 3) === 0, `picture pixel (${x}, ${y}) is not shown under the dialog`);
        ++compared;
      }
    }
    check(compared > WIDTH * HEIGHT / 3, 'the dialog covers most of the board');
    const finalBoard = runInspect('board', writePpm('final-canvas', canvas), assets).out;

    // Escape does nothing (the box has no Cancel); Y answers Yes, as Enter on the focused Yes
    // would: a new board, with the whole time budget (a fill of 270 pixels, less what the
    // frames since have taken).
    await page.key('Escape', 'Escape', 27, '');
    check(await dialogOpen(), 'Escape closed the dialog');
    await page.key('y', 'KeyY', 89);
    await browser.waitUntil('the dialog to close after Y', 3000, async () => !(await dialogOpen()));
    const fresh = await page.settledBoard('new-game');
    const bar = runInspect('bar', fresh.file);
    check(fresh.board && fresh.board !== finalBoard, 'Yes did not deal a new board');
    check(bar.ok && Number(bar.out) > 240, `the new game's time bar is not full: ${bar.out}`);
    note(`Yes dealt a new board; time bar ${bar.out} pixels`);

    // No, with the mouse, ends the game: the page says so and shows the final picture.
    await waitForDialog();
    const no = await page.evaluate(`(() => {
      const r = document.getElementById('question-no').getBoundingClientRect();
      return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
    })()`);
    await page.click(no, 1);
    await browser.waitUntil('the page to say that the game has ended', 3000, () => page.evaluate(
      "!document.getElementById('ended').hidden && !document.getElementById('question').open"));
    const ended = await page.evaluate(`(() => {
      const e = document.getElementById('ended');
      return { text: e.innerText, focused: document.activeElement && document.activeElement.id };
    })()`);
    check(/The game has ended\./.test(ended.text) && /Play again/.test(ended.text), `the notice says ${JSON.stringify(ended.text)}`);
    check(ended.focused === 'again', 'the way to a new game does not have the focus');
    const last = await page.readBoard('ended');
    check(last.board, `the final picture is not shown after the end: ${last.why}`);
    const layout = runInspect('layout', last.file);
    check(layout.ok, `the final picture is damaged: ${layout.err}`);
    note('No ended the game; the final picture stays on the page');

    // Play again: the page starts a new game.
    await page.send('Runtime.evaluate', { expression: "performance.clearMarks('paxmorella-first-frame')" });
    await page.key('Enter', 'Enter', 13, '\r');
    // While the page reloads there may be no document to ask, or one without the notice yet.
    await browser.waitUntil('a new game after "Play again"', 10000, () => page.evaluate(
      "document.getElementById('ended')?.hidden && performance.getEntriesByName('paxmorella-first-frame').length > 0")
      .catch(() => false));
    note('"Play again" started a new game');
  },
};

function sizeCase() {
  let total = 0;
  for (const name of ['paxmorella.js', 'paxmorella.wasm', 'page.js', 'index.html']) {
    const data = fs.readFileSync(path.join(site, name));
    const packed = zlib.gzipSync(data, { level: 9 }).length;
    note(`${name}: ${data.length} bytes, ${packed} gzip-compressed`);
    total += packed;
  }
  note(`the page: ${total} bytes gzip-compressed (budget ${SIZE_BUDGET_BYTES})`);
  check(total <= SIZE_BUDGET_BYTES, `the page is ${total} bytes gzip-compressed, over ${SIZE_BUDGET_BYTES}`);
}

async function main() {
  if (caseName === 'size') return sizeCase();
  const run = cases[caseName];
  if (!run) {
    console.error(`run-web-e2e.js: unknown case ${caseName}`);
    process.exit(2);
  }
  if (!browser.onPath('chromium')) {
    note('skipped: no chromium on PATH (tools/install-deps web installs it)');
    process.exit(SKIPPED);
  }
  let server = null;
  let chromium = null;
  try {
    server = await browser.startServer(site);
    chromium = await browser.startBrowser(scratch);
    const { tools } = chromium;
    const { targetId } = await tools.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await tools.send('Target.attachToTarget', { targetId, flatten: true });
    const page = new Page(tools, sessionId);
    for (const domain of ['Runtime', 'Log', 'Page']) await page.send(`${domain}.enable`);
    await run(page, server.url);
    check(page.errors.length === 0, `the console got errors:\n  ${page.errors.join('\n  ')}`);
    await tools.send('Browser.close').catch(() => {});
  } finally {
    // Each one is stopped even when stopping the other fails.
    const stopped = await Promise.allSettled([
      chromium && browser.stop(chromium.child, 'chromium'),
      server && browser.stop(server.child, 'the file server'),
    ]);
    fs.rmSync(scratch, { recursive: true, force: true });
    for (const result of stopped) if (result.status === 'rejected') throw result.reason;
  }
}

main().then(
  () => note('passed'),
  (error) => {
    console.error(`${caseName}: FAILED: ${error.message}`);
    process.exitCode = 1;
  });
