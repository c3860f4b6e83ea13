// Linked ahead of every program on the kits (--pre-js). A program that waits for animation frames
// through asyncify leaves main at its first wait, and emscripten's start-up takes that for the
// end of main: it asks for an exit, which the pending wait keeps from happening, and nothing asks
// again when main really returns, frames later. Without this the runtime never ends, the static
// destructors never run (the audio device stays open) and the page never hears of the end.
Module["postRun"] = [].concat(Module["postRun"] || [], function () {
  if (typeof Asyncify === "undefined" || !Asyncify.currData) {
    return; // main has returned already, and its exit has been taken
  }
  Asyncify.whenDone().then(function (status) {
    try {
      exit(status);
    } catch (error) {
      // exit() ends by throwing, so that no caller of it runs on.
      if (!(error instanceof ExitStatus)) throw error;
    }
  }, function (error) {
    // exit() called inside the loop has ended the runtime already; anything else stays an error.
    if (!(error instanceof ExitStatus)) throw error;
  });
});
