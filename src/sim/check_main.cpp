// velmora-check [--verbose] SCENARIO.snr | FOLDER: checks a scenario's files
// and prints one line per problem, then "N errors, M warnings".
#include <iostream>
#include <string>

#include "scenario/scenario_check.h"
#include "sim/command_line.h"

namespace velmora {
namespace {

struct Options {
    std::string Target;
    CheckOptions Check;
};

// Every option of the command line, in one place.
void DeclareOptions(CLI::App& app, Options& o) {
    app.add_option("scenario", o.Target, "The scenario's .snr file or its folder")
        ->required()
        ->type_name("SCENARIO.snr|FOLDER");
    app.add_flag("-v,--verbose", o.Check.Verbose, "Also list what each file gave");
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    velmora::Options options;
    CLI::App app{"Checks a Velmora scenario's files and prints one line per problem.",
                 "velmora-check"};
    velmora::SetUpToolCommandLine(
        app, "usage: velmora-check [--verbose] SCENARIO.snr|SCENARIO_FOLDER\n");
    velmora::DeclareOptions(app, options);
    if (auto status = velmora::ParseToolCommandLine(app, argc, argv)) return *status;
    return velmora::RunScenarioCheck(options.Target, std::cout, options.Check);
}
