// The registry of window-less menu commands, built from the filter and geometry tables.
#include "app/Commands.h"

#include "app/Document.h"
#include "app/Geometry.h"
#include "filters/FilterCommands.h"

namespace lf {
namespace {

// "F&iltri", {"Luminosità"}, "&Incrementa" → "Filtri > Luminosità > Incrementa".
std::string MenuPath(const char* top, const std::vector<const char*>& submenu, const char* caption) {
    std::string path = top;
    for (const char* s : submenu) path += std::string(" > ") + s;
    path += std::string(" > ") + caption;
    std::erase(path, '&');
    return path;
}

std::vector<NamedCommand> BuildCommands() {
    std::vector<NamedCommand> commands;
    commands.push_back({"SelectallMenu", "Edita > Seleziona tutto",
                        [] {
                            SelectAll();
                            ReDraw();
                        },
                        [] { return true; }});
    commands.push_back({"UndoMenu", "Edita > Annulla", [] { RestoreUndo(); }, [] { return UndoAvailable; }});
    for (const FilterCommand& f : FilterCommands()) {
        const std::vector<Stage> stages = f.stages;
        commands.push_back({f.component, MenuPath("F&iltri", f.submenu, f.caption),
                            [stages] { RunEditingCommand(stages); }, [] { return true; }});
    }
    for (const GeometryCommand& g : GeometryCommands())
        commands.push_back({g.component, g.menuPath, g.run, [] { return true; }});
    return commands;
}

}  // namespace

const std::vector<NamedCommand>& HeadlessCommands() {
    static const std::vector<NamedCommand> commands = BuildCommands();
    return commands;
}

const NamedCommand* FindHeadlessCommand(std::string_view component) {
    for (const NamedCommand& c : HeadlessCommands())
        if (c.component == component) return &c;
    return nullptr;
}

}  // namespace lf
