#include "marrowgate/application/implementation/web/mgi_web_page.h"

#include <emscripten/emscripten.h>

namespace {

// The JavaScript inside these macros is kept as written.
// clang-format off

// requestAnimationFrame, not a timer: the browser then calls back in step with its display.
EM_ASYNC_JS(void, mgi_wait_for_animation_frame, (), {
    await new Promise(function(resume) { requestAnimationFrame(function() { resume(); }); });
});

// The page template defines Module.showReport; a page of the developer's own may not.
EM_JS(void, mgi_show_report, (const char* title, const char* message), {
    var titleText = UTF8ToString(title);
    var messageText = UTF8ToString(message);
    console.error(titleText + "\n" + messageText);
    if (typeof Module.showReport === "function") {
        Module.showReport(titleText, messageText);
    }
});

// clang-format on

} // namespace

namespace mgImplementation {

void WaitForAnimationFrame()
{
    mgi_wait_for_animation_frame();
}

void ShowReportInPage(const std::string& title, const std::string& message)
{
    mgi_show_report(title.c_str(), message.c_str());
}

} // namespace mgImplementation
