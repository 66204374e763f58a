// Every menu command that works without a window, by component name: the filter table, the
// geometry table, select-all and undo. The batch tool runs steps from here, so a step does
// exactly what its menu item does.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lf {

struct NamedCommand {
    std::string component;  // e.g. "IncreaseBrightnessMenu"
    std::string caption;    // the menu path for people, e.g. "Filtri > Luminosità > Incrementa", or ""
    std::function<void()> run;
    // False while the menu item would be disabled (undo with no snapshot).
    std::function<bool()> available;
};

const std::vector<NamedCommand>& HeadlessCommands();
const NamedCommand* FindHeadlessCommand(std::string_view component);

}  // namespace lf
