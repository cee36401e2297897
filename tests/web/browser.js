// The browser side of the page's end-to-end test: a static file server and a headless Chromium
// that the test starts and stops by PID, a small client of Chromium's DevTools protocol over
// the pipe it opens on file descriptors 3 and 4, and a PNG reader for its screenshots.
'use strict';

const { spawn } = require('child_process');
const fs = require('fs');
const net = require('net');
const os = require('os');
const path = require('path');
const zlib = require('zlib');

// Every wait of the test is bounded; a wait that runs out fails the case with its message.
async function waitUntil(what, timeoutMs, probe, intervalMs = 20) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const value = await probe();
    if (value) return value;
    if (Date.now() > deadline) throw new Error(`timed out after ${timeoutMs} ms waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, intervalMs));
  }
}

function exited(child) {
  return child.exitCode !== null || child.signalCode !== null;
}

// Ends a process the test started: SIGTERM, then SIGKILL if it is still there after a while.
async function stop(child, name) {
  if (!child || exited(child)) return;
  child.kill('SIGTERM');
  try {
    await waitUntil(`${name} (pid ${child.pid}) to end`, 5000, () => exited(child));
  } catch {
    child.kill('SIGKILL');
    await waitUntil(`${name} (pid ${child.pid}) to end after SIGKILL`, 5000, () => exited(child));
  }
}

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = net.createServer();
    probe.on('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

function accepts(port) {
  return new Promise((resolve) => {
    const socket = net.connect(port, '127.0.0.1');
    socket.on('connect', () => socket.end(() => resolve(true)));
    socket.on('error', () => resolve(false));
  });
}

// python3 -m http.server on 127.0.0.1, serving `folder`.
async function startServer(folder) {
  const port = await freePort();
  const child = spawn('python3', ['-m', 'http.server', '--bind', '127.0.0.1', '--directory', folder,
    String(port)], { stdio: ['ignore', 'ignore', 'pipe'] });
  let log = '';
  child.stderr.on('data', (data) => { log += data; });
  await waitUntil(`the file server on port ${port}`, 10000, async () => {
    if (exited(child)) throw new Error(`the file server ended: ${log}`);
    return accepts(port);
  });
  return { child, url: `http://127.0.0.1:${port}/`, log: () => log };
}

class DevTools {
  constructor(input, output) {
    this.output = output;
    // A browser that has gone away fails the calls still waiting, not the whole process.
    output.on('error', (error) => this.failAll(error));
    input.on('close', () => this.failAll(new Error('the browser closed its DevTools pipe')));
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    let buffer = Buffer.alloc(0);
    input.on('data', (data) => {
      buffer = Buffer.concat([buffer, data]);
      for (let end = buffer.indexOf(0); end >= 0; end = buffer.indexOf(0)) {
        const message = JSON.parse(buffer.subarray(0, end).toString('utf8'));
        buffer = buffer.subarray(end + 1);
        this.dispatch(message);
      }
    });
  }

  failAll(error) {
    for (const call of this.pending.values()) call.reject(new Error(`${call.method}: ${error.message}`));
    this.pending.clear();
  }

  dispatch(message) {
    if (message.id !== undefined) {
      const call = this.pending.get(message.id);
      this.pending.delete(message.id);
      if (!call) return;
      if (message.error) call.reject(new Error(`${call.method}: ${message.error.message}`));
      else call.resolve(message.result);
      return;
    }
    for (const listener of this.listeners) listener(message);
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, method });
      this.output.write(`${JSON.stringify(message)}\0`);
    });
  }

  on(listener) {
    this.listeners.push(listener);
  }
}

// Headless Chromium with a fresh profile, driven over --remote-debugging-pipe.
async function startBrowser(scratch) {
  const profile = fs.mkdtempSync(path.join(scratch, 'profile-'));
  const child = spawn('chromium', [
    '--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--disable-dev-shm-usage', `--user-data-dir=${profile}`, '--remote-debugging-pipe',
    'about:blank'], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
  let log = '';
  child.stderr.on('data', (data) => { log += data; });
  child.on('error', (error) => { log += `${error.message}\n`; });
  const tools = new DevTools(child.stdio[4], child.stdio[3]);
  let timer;
  const version = await Promise.race([
    tools.send('Browser.getVersion'),
    new Promise((_, reject) => {
      timer = setTimeout(() => reject(new Error(`Chromium did not answer within 20 s: ${log}`)), 20000);
    }),
  ]).finally(() => clearTimeout(timer));
  return { child, tools, version, log: () => log };
}

// A PNG from Chromium's screenshots: 8 bits per sample, RGB or RGBA, not interlaced. Answers
// { width, height, rgb } with three bytes per pixel, row by row.
function decodePng(data) {
  let at = 8;
  let width = 0;
  let height = 0;
  let channels = 0;
  const compressed = [];
  while (at < data.length) {
    const length = data.readUInt32BE(at);
    const type = data.toString('latin1', at + 4, at + 8);
    const body = data.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const [depth, colour, , , interlace] = body.subarray(8, 13);
      if (depth !== 8 || (colour !== 2 && colour !== 6) || interlace !== 0) {
        throw new Error(`unexpected PNG format: depth ${depth}, colour ${colour}`);
      }
      channels = colour === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      compressed.push(body);
    }
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(compressed));
  const stride = width * channels;
  const pixels = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const out = y * stride;
    for (let i = 0; i < stride; ++i) {
      const left = i >= channels ? pixels[out + i - channels] : 0;
      const up = y > 0 ? pixels[out - stride + i] : 0;
      const upLeft = y > 0 && i >= channels ? pixels[out - stride + i - channels] : 0;
      let predicted = 0;
      if (filter === 1) predicted = left;
      else if (filter === 2) predicted = up;
      else if (filter === 3) predicted = (left + up) >> 1;
      else if (filter === 4) {
        const p = left + up - upLeft;
        const pa = Math.abs(p - left);
        const pb = Math.abs(p - up);
        const pc = Math.abs(p - upLeft);
        predicted = pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
      }
      pixels[out + i] = (line[i] + predicted) & 0xff;
    }
  }
  const rgb = Buffer.alloc(width * height * 3);
  for (let p = 0; p < width * height; ++p) pixels.copy(rgb, p * 3, p * channels, p * channels + 3);
  return { width, height, rgb };
}

function onPath(program) {
  return (process.env.PATH || '').split(path.delimiter).some((dir) => dir && fs.existsSync(path.join(dir, program)));
}

function scratchFolder(name) {
  return fs.mkdtempSync(path.join(os.tmpdir(), `${name}-`));
}

module.exports = { waitUntil, stop, startServer, startBrowser, decodePng, scratchFolder, onPath };
