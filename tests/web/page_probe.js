// Injected into a page before its own scripts run (puppeteer's evaluateOnNewDocument). It sees
// what the program does without changing it:
// - the program's WebGL context, and the moment each frame is finished: the program asks for
//   the next animation frame right after drawing, before the browser shows the frame, so the
//   drawing buffer can still be read then;
// - each frame's main-thread time: from the animation frame's start to the program's next request;
// - the loudest sample the page's audio sent to its output since the page loaded.
(() => {
  "use strict";
  const probe = (window.__probe = {
    gl: null,
    framesRequested: 0,
    firstDrawnFrameAt: null,
    drawn: false,
    frameTimes: [],
    captureWanted: false,
    frame: null,
    loudest: 0,
  });

  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (type, attributes) {
    const context = getContext.call(this, type, attributes);
    if (context && this.id === "canvas" && (type === "webgl" || type === "webgl2")) {
      probe.gl = context;
      for (const name of ["clear", "drawArrays", "drawElements"]) {
        const original = context[name].bind(context);
        context[name] = (...args) => {
          probe.drawn = true;
          return original(...args);
        };
      }
    }
    return context;
  };

  function captureFrame() {
    const gl = probe.gl;
    const width = gl.drawingBufferWidth;
    const height = gl.drawingBufferHeight;
    const pixels = new Uint8Array(width * height * 4);
    gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
    probe.frame = { width, height, pixels };
  }

  let frameStartedAt = null;
  const requestAnimationFrame = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => {
    const now = performance.now();
    probe.framesRequested++;
    if (probe.drawn && probe.firstDrawnFrameAt === null) probe.firstDrawnFrameAt = now;
    if (frameStartedAt !== null) {
      probe.frameTimes.push(now - frameStartedAt);
      frameStartedAt = null;
    }
    if (probe.captureWanted && probe.gl && probe.drawn) {
      probe.captureWanted = false;
      captureFrame();
    }
    return requestAnimationFrame((time) => {
      frameStartedAt = performance.now();
      callback(time);
    });
  };

  // Counts the pixels of one kind in a rectangle of the last captured frame, (0, 0) top-left.
  const kinds = {
    nonBlack: (r, g, b) => r + g + b > 60,
    white: (r, g, b) => r > 180 && g > 180 && b > 180,
    red: (r, g, b) => r > 120 && g < 70 && b < 70,
    green: (r, g, b) => g > 25 && r < g / 2 && b < g / 2,
    teal: (r, g, b) => g > 150 && b > 150 && g - r > 40,
    orange: (r, g, b) => r > 180 && g > 80 && g < 200 && b < 100,
  };
  probe.count = (kind, left, top, right, bottom) => {
    const { width, height, pixels } = probe.frame;
    const matches = kinds[kind];
    let count = 0;
    for (let y = Math.max(0, top); y < Math.min(height, bottom); y++) {
      const row = (height - 1 - y) * width * 4;
      for (let x = Math.max(0, left); x < Math.min(width, right); x++) {
        const at = row + x * 4;
        if (matches(pixels[at], pixels[at + 1], pixels[at + 2])) count++;
      }
    }
    return count;
  };

  // Every node that feeds the speakers also feeds a tap that keeps the loudest sample.
  const connect = AudioNode.prototype.connect;
  const taps = new WeakMap();
  AudioNode.prototype.connect = function (destination, ...rest) {
    const result = connect.call(this, destination, ...rest);
    if (destination instanceof AudioDestinationNode) {
      const context = destination.context;
      if (!taps.has(context)) {
        const tap = context.createScriptProcessor(2048, 2, 2);
        tap.onaudioprocess = (event) => {
          for (let channel = 0; channel < event.inputBuffer.numberOfChannels; channel++) {
            for (const sample of event.inputBuffer.getChannelData(channel)) {
              probe.loudest = Math.max(probe.loudest, Math.abs(sample));
            }
          }
        };
        connect.call(tap, destination);
        taps.set(context, tap);
      }
      connect.call(this, taps.get(context));
    }
    return result;
  };
})();
