// Running the simulator's command-line control program (simctl.exe) from a test.
#pragma once

#include <string>

namespace sim {

// Runs simctl with the arguments, its output going to a temporary file. Returns its exit code
// (-1 when it did not finish within 10 s) and its output, with line ends as "\n", in *output if
// given.
int RunSimctl(const std::string& args, std::string* output = nullptr);

} // namespace sim
