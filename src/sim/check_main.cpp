// velmora-check SCENARIO_FOLDER_OR_SNR: reads a scenario's unit data and
// side files and reports what was loaded and what was skipped.
#include <iostream>

#include "scenario/scenario_check.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: velmora-check SCENARIO_FOLDER_OR_SNR\n";
        return 2;
    }
    return velmora::RunScenarioCheck(argv[1], std::cout);
}
