// velmora: the desktop program. "velmora" opens the title screen;
// "velmora SCENARIO.snr [--seed N]" starts a new game on that scenario.
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "map/main_window.h"
#include "map/qt_frontend.h"
#include "media/media_player.h"
#include "model/game_state.h"
#include "ui/fonts.h"
#include "ui/translations.h"

namespace {

struct Options {
    std::optional<std::filesystem::path> scenario;
    std::optional<std::uint64_t> seed;
};

std::optional<std::uint64_t> ParseSeed(std::string_view text) {
    std::uint64_t value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

// Returns nothing (after saying why) when the command line is wrong.
std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--seed") {
            if (i + 1 >= argc) {
                std::cerr << "velmora: --seed needs a number\n";
                return std::nullopt;
            }
            options.seed = ParseSeed(argv[++i]);
            if (!options.seed) {
                std::cerr << "velmora: --seed needs a whole number, not \"" << argv[i] << "\"\n";
                return std::nullopt;
            }
        } else if (!arg.empty() && arg.front() == '-') {
            std::cerr << "velmora: unknown option " << arg << "\n"
                      << "usage: velmora [SCENARIO.snr] [--seed N]\n";
            return std::nullopt;
        } else if (!options.scenario) {
            options.scenario = std::filesystem::path(arg);
        } else {
            std::cerr << "usage: velmora [SCENARIO.snr] [--seed N]\n";
            return std::nullopt;
        }
    }
    return options;
}

std::uint64_t ClockSeed() {
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

}  // namespace

int main(int argc, char** argv) {
    // Our own options are checked again once Qt has taken its own out, but a
    // wrong seed is told at once, even with no display to open.
    const std::vector<std::string> ownArgs(argv, argv + argc);
    for (std::size_t i = 1; i < ownArgs.size(); ++i) {
        if (ownArgs[i] != "--seed") continue;
        if (i + 1 >= ownArgs.size() || !ParseSeed(ownArgs[i + 1])) {
            std::cerr << "velmora: --seed needs a whole number\n";
            return 2;
        }
    }
    QApplication app(argc, argv);
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) return 2;
    QApplication::setApplicationName(QStringLiteral("velmora"));
    velmora::ui::InstallJapaneseFonts();
    velmora::ui::InstallJapaneseTranslations(app);

    auto state = std::make_unique<velmora::GameState>();
    velmora::map::MainWindow window(*state);
    velmora::media::MediaPlayer media(&window);
    velmora::map::QtFrontend frontend(*state, window, media);
    window.setFrontend(&frontend);
    media.setErrorReporter([&frontend](const QString& caption, const QString& text) {
        frontend.MessageOk(caption.toStdString(), text.toStdString());
    });
    window.setScenarioFolderHandler([&media](const std::string& folder) {
        media.setScenarioFolder(QString::fromStdString(folder));
    });
    window.addMenuBeforeAbout(media.createSoundMenu(&window));
    QObject::connect(&window, &velmora::map::MainWindow::closing, [&frontend] {
        // A turn end may still wait in a window: let it run out and quit.
        frontend.shutDown();
        QCoreApplication::quit();
    });
    window.show();

    if (options->scenario) {
        const std::filesystem::path snr = *options->scenario;
        const std::uint64_t seed = options->seed.value_or(ClockSeed());
        QTimer::singleShot(0, &window, [&window, snr, seed] { window.startGame(snr, seed); });
    }
    return QApplication::exec();
}
