// lumaforge-batch: the editor without windows. Opens INPUT, runs the steps as the menu commands
// do, saves OUTPUT.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace lf {

// Exit statuses.
inline constexpr int kBatchOk = 0;
inline constexpr int kBatchFailed = 1;  // an error the error box would show; nothing written
inline constexpr int kBatchUsage = 2;   // a refused name or a usage error; nothing done

// args: the command-line arguments after the program name.
int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lf
