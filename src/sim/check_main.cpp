// velmora-check [--verbose] SCENARIO.snr | FOLDER: checks a scenario's files
// and prints one line per problem, then "N errors, M warnings".
#include <iostream>
#include <string_view>

#include "scenario/scenario_check.h"

int main(int argc, char** argv) {
    velmora::CheckOptions options;
    const char* target = nullptr;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--verbose" || arg == "-v") {
            options.Verbose = true;
        } else if (!target && !arg.starts_with("-")) {
            target = argv[i];
        } else {
            target = nullptr;
            break;
        }
    }
    if (!target) {
        std::cerr << "usage: velmora-check [--verbose] SCENARIO.snr|SCENARIO_FOLDER\n";
        return 2;
    }
    return velmora::RunScenarioCheck(target, std::cout, options);
}
