// velmora: the desktop program. "velmora" opens the title screen;
// "velmora SCENARIO.snr [--seed N]" or "velmora --demo" starts a new game.
#include <QApplication>
#include <QCommandLineParser>
#include <QMenu>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <variant>

#include "map/main_window.h"
#include "map/qt_frontend.h"
#include "media/media_player.h"
#include "model/game_state.h"
#include "model/version.h"
#include "scenario/bundled_scenarios.h"
#include "ui/fonts.h"

namespace {

constexpr int kBadUsage = 2;

struct Options {
    std::optional<std::filesystem::path> scenario;
    std::optional<std::uint64_t> seed;
};

// Qt's own options, declared so that their values are not taken for a
// scenario file; QApplication takes them out again.
void DeclareQtOptions(QCommandLineParser& parser) {
    const char* withValue[] = {"platform",      "platformpluginpath",
                               "platformtheme", "plugin",
                               "qmljsdebugger", "qwindowgeometry",
                               "geometry",      "qwindowtitle",
                               "title",         "qwindowicon",
                               "icon",          "display",
                               "name",          "style",
                               "stylesheet",    "session"};
    const char* flags[] = {"reverse", "nograb", "dograb", "sync", "widgetcount", "testability"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// The command line: every option of the program is declared here.
class CommandLine {
  public:
    CommandLine() {
        parser_.setApplicationDescription(QStringLiteral(
            "Velmora: a turn-based operational wargame of modern naval and air warfare.\n"
            "Without a scenario the title screen opens."));
        parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser_.addHelpOption();
        parser_.addVersionOption();
        parser_.addOption(seed_);
        parser_.addOption(demo_);
        parser_.addPositionalArgument(QStringLiteral("scenario"),
                                      QStringLiteral("Start a new game on this scenario at once."),
                                      QStringLiteral("[SCENARIO.snr]"));
        DeclareQtOptions(parser_);
    }

    // The options, or the exit status when the program ends here: after
    // --help or --version (no display needed) or a wrong command line.
    std::variant<Options, int> parse(const QStringList& arguments) {
        if (!parser_.parse(arguments)) return fail(parser_.errorText());
        if (parser_.isSet(QStringLiteral("help")) || parser_.isSet(QStringLiteral("help-all"))) {
            // Without an application object Qt cannot know the program's name.
            QString help = parser_.helpText();
            help.replace(QStringLiteral("<executable_name>"), QStringLiteral("velmora"));
            std::fputs(help.toLocal8Bit().constData(), stdout);
            return 0;
        }
        if (parser_.isSet(QStringLiteral("version"))) {
            std::printf("%s\n", velmora::kVersionText.data());
            return 0;
        }
        Options options;
        const QStringList files = parser_.positionalArguments();
        if (files.size() > 1) return fail(QStringLiteral("one scenario at a time"));
        if (parser_.isSet(seed_)) {
            const QString text = parser_.value(seed_);
            bool ok = !text.isEmpty() && text.front().isDigit();
            const std::uint64_t seed = ok ? text.toULongLong(&ok) : 0;
            if (!ok)
                return fail(QStringLiteral("--seed needs a whole number, not \"%1\"").arg(text));
            options.seed = seed;
        }
        if (parser_.isSet(demo_)) {
            if (!files.isEmpty())
                return fail(QStringLiteral("give a scenario or --demo, not both"));
            const std::filesystem::path demo = velmora::DemoScenarioFile();
            std::error_code error;
            if (demo.empty() || !std::filesystem::is_regular_file(demo, error))
                return fail(
                    QStringLiteral("the demo scenario is not installed beside the program"));
            options.scenario = demo;
        } else if (!files.isEmpty()) {
            options.scenario = std::filesystem::path(files.front().toStdString());
        }
        return options;
    }

  private:
    static int fail(const QString& reason) {
        std::fprintf(stderr,
                     "velmora: %s\nusage: velmora [--seed N] [SCENARIO.snr | --demo]\n"
                     "Run with --help for more information.\n",
                     reason.toLocal8Bit().constData());
        return kBadUsage;
    }

    QCommandLineParser parser_;
    QCommandLineOption seed_{
        QStringLiteral("seed"),
        QStringLiteral("Seed of the game's generator (default: from the clock)."),
        QStringLiteral("N")};
    QCommandLineOption demo_{QStringLiteral("demo"),
                             QStringLiteral("Start a new game on the bundled demo scenario.")};
};

std::uint64_t ClockSeed() {
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

}  // namespace

int main(int argc, char** argv) {
    // Parsed before Qt opens a display, so --help, --version and a wrong
    // command line are answered without one.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    CommandLine commandLine;
    const std::variant<Options, int> parsed = commandLine.parse(arguments);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const Options* options = &std::get<Options>(parsed);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    velmora::ui::InstallJapaneseFonts();

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
