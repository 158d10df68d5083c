#include "session.h"

#include <exception>

#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::cli {

std::unique_ptr<Session> openSession(const Context& ctx, int* exitCode) {
    auto session = std::make_unique<Session>();
    bool started = false;
    try {
        // The window's start-up, except that the CLI needs no Kazuban.ini.
        started = session->form.Form_Load(text::pathFromUtf8(ctx.dir), /*requireEnvironmentFile=*/false);
    } catch (...) {
        session->platform.messageBox(errorText(std::current_exception()), platform::Icon::None, platform::Buttons::Ok);
    }
    if (!started || session->form.closeRequested()) {
        if (exitCode) *exitCode = 2;
        return nullptr;
    }
    if (exitCode) *exitCode = 0;
    return session;
}

}  // namespace kazuban::cli
