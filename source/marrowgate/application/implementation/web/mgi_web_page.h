#pragma once
// What the web build asks of the page it runs in, beside what SDL2 does for it there: handing
// control back to the browser between frames, and showing reports in the page. Compiled only
// into the web build (emscripten); the page's side is in the kits' page template.

#include <string>

namespace mgImplementation {

// Returns at the browser's next animation frame, having let the browser run its events and show
// the frame just drawn. A hidden tab has no animation frames, so a game in one costs nothing.
// Needs the program linked with asyncify; callers up to the program entry call directly, never
// through a virtual function, so that only that chain is instrumented.
void WaitForAnimationFrame();

// Shows a report in the page (below the canvas) and in the browser's console as an error.
void ShowReportInPage(const std::string& title, const std::string& message);

} // namespace mgImplementation
