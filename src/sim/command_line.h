// What the headless tools share on their command lines: --help, --version,
// and bad arguments ending with the reason, the usage line and status 2.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "model/version.h"

namespace velmora {

inline constexpr int kBadUsage = 2;

// Counts and seeds: CLI11 would otherwise wrap "-1" into a huge unsigned number.
inline const CLI::Validator kNotNegative(
    [](const std::string& value) {
        return !value.empty() && value.front() == '-' ? std::string("must not be negative")
                                                      : std::string();
    },
    "NONNEGATIVE");

// `usage` is the one-line synopsis printed after a bad command line.
inline void SetUpToolCommandLine(CLI::App& app, std::string usage) {
    app.set_version_flag("--version", std::string(kVersionText), "Print the version and exit");
    app.failure_message([usage](const CLI::App* failed, const CLI::Error& e) {
        return failed->get_name() + ": " + e.what() + "\n" + usage +
               "Run with --help for more information.\n";
    });
}

// Nothing when the program should go on; otherwise its exit status (0 after
// --help or --version, kBadUsage after a bad command line).
inline std::optional<int> ParseToolCommandLine(CLI::App& app, int argc, char** argv) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int status = app.exit(e);
        return status == 0 ? 0 : kBadUsage;
    }
    return std::nullopt;
}

}  // namespace velmora
