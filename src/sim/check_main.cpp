// velmora-check [--verbose] SCENARIO.snr | FOLDER: checks a scenario's files
// and prints one line per problem, then "N errors, M warnings".
// velmora-check --model FILE.mqo: reads one model and prints its size.
#include <iostream>
#include <string>

#include "view3d/pure/model_files.h"
#include "scenario/scenario_check.h"
#include "sim/command_line.h"

namespace velmora {
namespace {

constexpr const char* kUsage =
    "usage: velmora-check [--verbose] SCENARIO.snr|SCENARIO_FOLDER\n"
    "       velmora-check --model FILE.mqo\n";

struct Options {
    std::string Target;
    std::string Model;
    CheckOptions Check;
};

// Every option of the command line, in one place.
void DeclareOptions(CLI::App& app, Options& o) {
    auto* scenario = app.add_option("scenario", o.Target, "The scenario's .snr file or its folder")
                         ->type_name("SCENARIO.snr|FOLDER");
    app.add_option("--model", o.Model, "Read one model file and print its size instead")
        ->type_name("FILE.mqo")
        ->excludes(scenario);
    app.add_flag("-v,--verbose", o.Check.Verbose, "Also list what each file gave");
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    velmora::Options options;
    CLI::App app{"Checks a Velmora scenario's files and prints one line per problem.",
                 "velmora-check"};
    velmora::SetUpToolCommandLine(app, velmora::kUsage);
    velmora::DeclareOptions(app, options);
    if (auto status = velmora::ParseToolCommandLine(app, argc, argv)) return *status;
    if (!options.Model.empty()) return velmora::RunModelCheck(options.Model, std::cout, std::cerr);
    if (options.Target.empty()) {
        std::cerr << "velmora-check: a scenario or --model is required\n"
                  << velmora::kUsage << "Run with --help for more information.\n";
        return velmora::kBadUsage;
    }
    return velmora::RunScenarioCheck(options.Target, std::cout, options.Check);
}
