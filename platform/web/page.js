// The page side of the browser build: the board view on a <canvas>, the pointer, the presses that
// reach the game, the game-over dialog, and the notice once the game has ended. The game's
// WebAssembly (paxmorella.js) calls these through `paxPage` from web_platform.cpp and
// canvas_text_engine.cpp; nothing here knows the rules.
'use strict';

const paxPage = (() => {
  // Two presses within this time (ms) and distance (CSS pixels) of each other make a double
  // tap; the mouse's double clicks are counted by the browser itself (MouseEvent.detail).
  const DOUBLE_TAP_MS = 500;
  const DOUBLE_TAP_DISTANCE = 16;
  // Room under the board for the notice that the game has ended (CSS pixels).
  const NOTICE_ROOM = 56;

  const canvas = document.getElementById('board');
  const context = canvas.getContext('2d', { alpha: false });
  const notice = document.getElementById('ended');
  const dialog = document.getElementById('question');

  // Presses on the board waiting for the game's polls: [clicks, x, y] in picture pixels.
  let presses = [];
  // Where the pointer is now, in the page's CSS pixels; null when it is not over the page.
  let pointer = null;
  let lastTap = null;
  let listening = false;
  let shown = false;

  function pictureX(clientX) {
    const box = canvas.getBoundingClientRect();
    return Math.floor(((clientX - box.left) * canvas.width) / box.width);
  }
  function pictureY(clientY) {
    const box = canvas.getBoundingClientRect();
    return Math.floor(((clientY - box.top) * canvas.height) / box.height);
  }

  // The board is shown with each picture pixel on a whole number of device pixels, the number
  // nearest the device pixel ratio that fits the window, and its corner on a device pixel.
  function place() {
    const ratio = window.devicePixelRatio || 1;
    let scale = Math.max(1, Math.round(ratio));
    while (
      scale > 1 &&
      ((canvas.width * scale) / ratio > window.innerWidth ||
        ((canvas.height * scale) / ratio) + NOTICE_ROOM > window.innerHeight)
    ) {
      scale -= 1;
    }
    const width = (canvas.width * scale) / ratio;
    const height = (canvas.height * scale) / ratio;
    const snap = (v) => Math.max(0, Math.round(v * ratio) / ratio);
    const left = snap((window.innerWidth - width) / 2);
    const top = snap((window.innerHeight - height - NOTICE_ROOM) / 2);
    Object.assign(canvas.style, {
      width: `${width}px`,
      height: `${height}px`,
      left: `${left}px`,
      top: `${top}px`,
    });
    notice.style.top = `${top + height}px`;
  }

  // The offscreen canvas that texts are drawn in, made on first use.
  let text = null;
  function textContext() {
    if (!text) text = document.createElement('canvas').getContext('2d', { willReadFrequently: true });
    return text;
  }

  function follow(event) {
    pointer = { x: event.clientX, y: event.clientY };
  }

  function press(clicks, clientX, clientY) {
    pointer = { x: clientX, y: clientY };
    presses.push([clicks, pictureX(clientX), pictureY(clientY)]);
  }

  function onMouseDown(event) {
    if (event.button !== 0) return;
    press(Math.max(1, event.detail), event.clientX, event.clientY);
  }

  function onTouchStart(event) {
    if (event.touches.length !== 1) return;
    // The tap is the press; no emulated mouse events, no double-tap zoom.
    event.preventDefault();
    const touch = event.touches[0];
    const now = event.timeStamp;
    const near =
      lastTap &&
      now - lastTap.time <= DOUBLE_TAP_MS &&
      Math.hypot(touch.clientX - lastTap.x, touch.clientY - lastTap.y) <= DOUBLE_TAP_DISTANCE;
    const clicks = near ? lastTap.clicks + 1 : 1;
    lastTap = { time: now, x: touch.clientX, y: touch.clientY, clicks };
    press(clicks, touch.clientX, touch.clientY);
  }

  function onLeave(event) {
    if (!event.relatedTarget) pointer = null;
  }

  function listen(on) {
    const method = on ? 'addEventListener' : 'removeEventListener';
    canvas[method]('mousedown', onMouseDown);
    canvas[method]('touchstart', onTouchStart, { passive: false });
    document[method]('mousemove', follow);
    document[method]('mousedown', follow);
    document[method]('mouseout', onLeave);
    listening = on;
  }

  window.addEventListener('resize', place);
  place();

  return {
    // Called by createTopWindow: the title and the picture's size.
    open(title, width, height) {
      document.title = title;
      canvas.width = width;
      canvas.height = height;
      place();
      if (!listening) listen(true);
    },

    // Called by setPictureImage with the picture as RGBA bytes.
    present(rgba, width, height) {
      context.putImageData(new ImageData(new Uint8ClampedArray(rgba), width, height), 0, 0);
      if (!shown) {
        shown = true;
        // The frame that paints it: the moment the first picture is on the screen, for
        // anyone who looks at the page's performance timeline.
        requestAnimationFrame(() => performance.mark('paxmorella-first-frame'));
      }
    },

    // Called by pollEvent: the oldest waiting press, or null.
    takePress() {
      return presses.shift() || null;
    },

    // Called by askYesNo before and after the box: presses aimed at a finished board.
    dropPresses() {
      presses = [];
      lastTap = null;
    },

    // Called by pointerX and pointerY: the pointer in picture pixels, or null outside.
    pointerInPicture() {
      if (!pointer) return null;
      const x = pictureX(pointer.x);
      const y = pictureY(pointer.y);
      if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) return null;
      return [x, y];
    },

    // Called by askYesNo: the modal box, resolved with true for Yes and false for No. The page
    // behind it takes no input while it is open.
    askYesNo(title, text) {
      document.getElementById('question-title').textContent = title;
      document.getElementById('question-text').textContent = text;
      return new Promise((resolve) => {
        let answered = false;
        const yesButton = document.getElementById('question-yes');
        const noButton = document.getElementById('question-no');
        const answer = (yes) => {
          answered = true;
          dialog.removeEventListener('keydown', onKey);
          dialog.removeEventListener('cancel', onCancel);
          dialog.removeEventListener('close', onClose);
          dialog.close();
          resolve(yes);
        };
        // The box has no Cancel: Escape does nothing, as in a yes/no message box. Where the
        // browser closes the dialog anyway (it may, when the page has had no user input since
        // the dialog opened), it opens again.
        const onCancel = (event) => event.preventDefault();
        const onClose = () => {
          if (answered) return;
          dialog.showModal();
          yesButton.focus();
        };
        // Y and N answer too, as the underlined letters of a message box's buttons do.
        const onKey = (event) => {
          if (event.key === 'Escape') event.preventDefault();
          if (event.key === 'y' || event.key === 'Y') answer(true);
          if (event.key === 'n' || event.key === 'N') answer(false);
        };
        yesButton.onclick = () => answer(true);
        noButton.onclick = () => answer(false);
        dialog.addEventListener('keydown', onKey);
        dialog.addEventListener('cancel', onCancel);
        dialog.addEventListener('close', onClose);
        dialog.showModal();
        yesButton.focus();
      });
    },

    // Called by shutdownWindowLayer: the board takes no more input and keeps its last picture.
    close() {
      if (listening) listen(false);
      presses = [];
    },

    // Called by exitProcess: the notice that the game has ended, with the way to a new one.
    ended() {
      notice.hidden = false;
      document.getElementById('again').focus();
    },

    // The font of the status texts: the face the game asks for, then the page's own faces.
    cssFont(face, pixels) {
      return `${pixels}px "${face}", ${getComputedStyle(document.body).fontFamily}`;
    },

    // Called by the text engine: the advance width of the text, and the font's ascent and
    // descent, in whole pixels.
    measureText(font, text) {
      const context = textContext();
      context.font = font;
      const metrics = context.measureText(text);
      return [
        Math.round(metrics.width),
        Math.ceil(metrics.fontBoundingBoxAscent),
        Math.ceil(metrics.fontBoundingBoxDescent),
      ];
    },

    // Called by the text engine: the text drawn into a width x height box with its baseline at
    // `ascent`; the alpha of each pixel, row by row, is its coverage.
    drawText(font, text, width, height, ascent) {
      const context = textContext();
      context.canvas.width = width;
      context.canvas.height = height;
      context.font = font;
      context.textBaseline = 'alphabetic';
      context.fillStyle = '#000';
      context.fillText(text, 0, ascent);
      const rgba = context.getImageData(0, 0, width, height).data;
      const alpha = new Uint8Array(width * height);
      for (let i = 0; i < alpha.length; ++i) alpha[i] = rgba[4 * i + 3];
      return alpha;
    },
  };
})();

document.getElementById('again').addEventListener('click', () => window.location.reload());
