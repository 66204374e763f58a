// The filter commands of the "F&iltri" menu as one table, in menu order. The menu handlers and
// the batch tool run a row as RunEditingCommand(row.stages).
#pragma once

#include <string_view>
#include <vector>

#include "app/Document.h"

namespace lf {

struct FilterCommand {
    const char* component;             // e.g. "IncreaseBrightnessMenu"
    const char* caption;               // e.g. "&Incrementa"
    std::vector<const char*> submenu;  // below "F&iltri", outermost first, e.g. {"Luminosità"}
    std::vector<Stage> stages;         // the routines in the order they run
};

const std::vector<FilterCommand>& FilterCommands();
// The row of that component name, or nullptr.
const FilterCommand* FindFilterCommand(std::string_view component);

}  // namespace lf
