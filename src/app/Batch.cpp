// lumaforge-batch: argument parsing, the window-less dialogs, and the run.
#include "app/Batch.h"

#include <charconv>
#include <functional>
#include <optional>

#include "app/Commands.h"
#include "app/Document.h"
#include "app/Geometry.h"
#include "app/PictureFiles.h"
#include "app/Selection.h"
#include "app/Statistics.h"
#include "customfilter/CustomFilter.h"
#include "platform/CommandGuard.h"
#include "platform/Dialogs.h"

namespace lf {
namespace {

// Box texts use CR LF between lines; a terminal wants LF.
std::string TerminalText(const std::string& text) {
    std::string lines;
    lines.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines.push_back(text[i]);
    return lines;
}

// The boxes of a run without windows: information goes to standard error and the run goes
// on; the error box's text goes to standard error and ends the run.
class BatchDialogs final : public Dialogs {
public:
    explicit BatchDialogs(std::ostream& err) : err_(err) {}
    void Information(const std::string& text) override { err_ << TerminalText(text) << '\n'; }
    bool Confirm(const std::string&) override { return true; }  // only "File exists. Overwrite?"
    void ErrorBox(const std::string& text) override { err_ << TerminalText(text) << '\n'; }
    std::optional<std::string> OpenFileName(const std::string&) override { return std::nullopt; }
    std::optional<std::string> SaveFileName(const std::string&, const std::string&) override {
        return std::nullopt;
    }

private:
    std::ostream& err_;
};

struct Step {
    std::string text;  // as given, for messages
    std::function<void()> run;
    std::function<bool()> available;
};

std::optional<int32_t> ParseInt(const std::string& s) {
    int32_t v = 0;
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, v);
    if (ec != std::errc() || p != end || s.empty()) return std::nullopt;
    return v;
}

std::string WithoutSpaces(std::string s) {
    std::erase(s, ' ');
    return s;
}

void PrintHelp(std::ostream& out) {
    out << "Usage: lumaforge-batch INPUT OUTPUT [STEP ...]\n"
           "\n"
           "Opens INPUT (a .bmp or .jpg file), runs the steps in order exactly as the menu\n"
           "commands of Lumaforge do (each editing step takes the one-level undo snapshot), and\n"
           "saves the picture to OUTPUT (.bmp: 24-bit BMP, .jpg: JPEG at quality 90), replacing\n"
           "an existing file.\n"
           "\n"
           "Steps:\n"
           "  --select LEFT TOP RIGHT BOTTOM  drag a selection from (LEFT, TOP) to (RIGHT, BOTTOM)\n"
           "  --statistics                    print the statistics report on standard output\n"
           "  --custom REXPR GEXPR BEXPR      apply a custom filter (spaces are removed)\n"
           "  --resize WIDTH HEIGHT           resize (10 to 2500 pixels), smoothing an enlargement\n"
           "  --resize-plain WIDTH HEIGHT     resize (10 to 2500 pixels) by nearest neighbour only\n";
    for (const NamedCommand& c : HeadlessCommands())
        out << "  " << c.component << std::string(c.component.size() < 32 ? 32 - c.component.size() : 1, ' ')
            << c.caption << '\n';
    out << "\n"
           "Information messages go to standard error and the run goes on. An error prints its\n"
           "message, writes nothing and exits with status 1; an unknown step or a usage error\n"
           "exits with status 2.\n";
}

// Parses the steps; on a usage error writes the reason and returns nothing.
std::optional<std::vector<Step>> ParseSteps(const std::vector<std::string>& args, size_t first,
                                            std::ostream& out, std::ostream& err) {
    std::vector<Step> steps;
    auto always = [] { return true; };
    for (size_t i = first; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto need = [&](size_t n) -> bool {
            if (i + n < args.size()) return true;
            err << "lumaforge-batch: " << a << " needs " << n << " argument" << (n > 1 ? "s" : "") << '\n';
            return false;
        };
        auto ints = [&](size_t n) -> std::optional<std::vector<int32_t>> {
            std::vector<int32_t> v;
            for (size_t k = 1; k <= n; ++k) {
                auto x = ParseInt(args[i + k]);
                if (!x) {
                    err << "lumaforge-batch: " << a << ": not a whole number: " << args[i + k] << '\n';
                    return std::nullopt;
                }
                v.push_back(*x);
            }
            return v;
        };
        if (a == "--select") {
            if (!need(4)) return std::nullopt;
            auto v = ints(4);
            if (!v) return std::nullopt;
            steps.push_back({a,
                             [v = *v] {
                                 SelectionMouseDown(true, v[0], v[1]);
                                 SelectionMouseUp(true, v[2], v[3]);
                             },
                             always});
            i += 4;
        } else if (a == "--statistics") {
            steps.push_back({a, [&out] { out << TerminalText(StatisticsReport()) << '\n'; }, always});
        } else if (a == "--custom") {
            if (!need(3)) return std::nullopt;
            std::string r = WithoutSpaces(args[i + 1]), g = WithoutSpaces(args[i + 2]),
                        b = WithoutSpaces(args[i + 3]);
            steps.push_back({a, [r, g, b] { RunEditingCommand({[&] { CustomFilter(r, g, b); }}); }, always});
            i += 3;
        } else if (a == "--resize" || a == "--resize-plain") {
            if (!need(2)) return std::nullopt;
            auto v = ints(2);
            if (!v) return std::nullopt;
            // The resize window's bars run from 10 to 2500 pixels; a script gets no other sizes.
            if ((*v)[0] < 10 || (*v)[0] > 2500 || (*v)[1] < 10 || (*v)[1] > 2500) {
                err << "lumaforge-batch: " << a << ": sizes run from 10 to 2500 pixels\n";
                return std::nullopt;
            }
            const bool interpolate = a == "--resize";
            steps.push_back({a, [v = *v, interpolate] { ResizeOK(v[0], v[1], interpolate); }, always});
            i += 2;
        } else if (const NamedCommand* c = FindHeadlessCommand(a)) {
            steps.push_back({a, c->run, c->available});
        } else {
            err << "lumaforge-batch: unknown step: " << a << " (see lumaforge-batch --help)\n";
            return std::nullopt;
        }
    }
    return steps;
}

}  // namespace

int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        PrintHelp(out);
        return kBatchOk;
    }
    if (args.size() < 2) {
        err << "Usage: lumaforge-batch INPUT OUTPUT [STEP ...]   (lumaforge-batch --help lists the steps)\n";
        return kBatchUsage;
    }
    const std::string& input = args[0];
    const std::string& output = args[1];
    // Refuse names the program would refuse before doing any work, so that a run never ends
    // with nothing saved after reporting only an information message.
    if (ClassifyFileName(input) == PictureFileKind::Refused) {
        err << "You must specify a BMP or JPG file.\n";
        return kBatchUsage;
    }
    if (ClassifyFileName(output) == PictureFileKind::Refused) {
        err << TerminalText("You must specify a .BMP or .JPG file.\r\nexample: MyPic.bmp") << '\n';
        return kBatchUsage;
    }
    auto steps = ParseSteps(args, 2, out, err);
    if (!steps) return kBatchUsage;

    BatchDialogs dialogs(err);
    Dialogs* previous = InstallDialogs(&dialogs);
    struct Restore {
        Dialogs* previous;
        ~Restore() { InstallDialogs(previous); }
    } restore{previous};

    ResetDocument();
    bool ok = RunGuarded([&] {
        CurrentFile = input;
        OpenFile(input);
    });
    for (size_t i = 0; ok && i < steps->size(); ++i) {
        const Step& step = (*steps)[i];
        if (!step.available()) {
            err << "lumaforge-batch: " << step.text << " is not available here (there is nothing to undo)\n";
            return kBatchUsage;
        }
        ok = RunGuarded(step.run);
    }
    if (ok)
        ok = RunGuarded([&] {
            CurrentFile = output;
            SaveFile(output);
        });
    return ok ? kBatchOk : kBatchFailed;
}

}  // namespace lf
