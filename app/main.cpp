#include "app/LaunchOptions.h"
#include "app/SignalClose.h"
#include "host/EngineRunner.h"
#include "host/jack/JackHost.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {
bool set(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

// Without a display Orvan still runs, on Qt's offscreen platform, and says so.
void chooseDisplay() {
    if (set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY"))
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::fprintf(stderr, "orvan: no display found; running on Qt's offscreen platform\n");
}

// The ending's note-offs are out and the settings saved when the clients are closed: a server
// that does not let them go ends Orvan anyway, as the close box would have.
[[noreturn]] void endWithoutTheServer() {
    std::fprintf(stderr,
                 "orvan: the JACK server did not let go of Orvan within %lld ms; ending "
                 "anyway\n",
                 static_cast<long long>(JackHost::kCloseBound.count()));
    std::fflush(nullptr);
    std::_Exit(0);
}
} // namespace

int main(int argc, char** argv) {
    JackHost::OnCloseHung(endWithoutTheServer);
    // A signal during a long start-up ends Orvan as its close box does, once it is up.
    CloseOnSignals closeOnSignals;
    const LaunchParse parse = ParseLaunchOptions(std::vector<std::string>(argv + 1, argv + argc),
                                                 std::getenv("JACK_DEFAULT_SERVER"));
    if (!parse.error.empty()) {
        std::fprintf(stderr, "orvan: %s\n%s", parse.error.c_str(), LaunchUsage().c_str());
        return 2;
    }
    const LaunchOptions& options = parse.options;
    if (options.help) {
        std::printf("%s", LaunchUsage().c_str());
        return 0;
    }
    if (options.version) {
        std::printf("orvan %s\n", ORVAN_VERSION);
        return 0;
    }

    chooseDisplay();
    int qtArgc = 1; // Orvan's own options are not Qt's to read
    QApplication app(qtArgc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(ORVAN_APP_ID));
    app.setWindowIcon(QIcon(QStringLiteral(":/orvan/icon.png")));
    // On a screen the window opens and waits for a server that is not there yet; without one,
    // Orvan says which server it looked for and ends, as scripts expect.
    const QString platform = QGuiApplication::platformName();
    const bool onScreen =
        platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
    // The engine outlives the window and every attachment to a server.
    EngineRunner runner;
    frmMain window(runner, [&options, &runner, onScreen] {
        return std::make_unique<JackHost>(options.host, runner, onScreen);
    });
    try {
        window.Form_Load();
        if (!options.scene.empty()) {
            if (const std::string why = window.LoadScene(options.scene); !why.empty()) {
                std::fprintf(stderr, "orvan: --scene: %s\n", why.c_str());
                return 2;
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvan: %s\n", error.what());
        return 1;
    }
    closeOnSignals.closes(window);
    window.show();
    if (options.nativeMode)
        QTimer::singleShot(0, &window, [&window] {
            window.RunEvent([&window] { window.btnInitNativeMode_Click(); });
        });
    const int status = app.exec();
    return window.Ending() ? 1 : status;
}
