// Parse on arbitrary text: it must end cleanly with a consistent outcome, and the compiled form
// of a formula must agree with the literal substitution and parse on a few pixels.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "customfilter/CustomFilter.h"
#include "expr/Formula.h"
#include "expr/Parser.h"

namespace {

void Check(bool condition, const char* what, const std::string& text) {
    if (condition) return;
    std::fprintf(stderr, "%s for text of %zu bytes: \"%s\"\n", what, text.size(), text.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);

    lf::TMathParser parser;
    int reported = 0, calls = 0;
    parser.OnParseError = [&](lf::TMathParser*, int code) {
        reported = code;
        ++calls;
    };
    parser.OnGetVar = [](lf::TMathParser*, const std::string& name, lf::Extended& value, bool& found) {
        if (!name.empty() && name[0] == 'V') {
            value = static_cast<lf::Extended>(name.size());
            found = true;
        }
    };
    parser.ParseString = text;
    parser.Parse();
    const int code = parser.ErrorCode;
    Check(code == 0 || code == 1 || (code >= 3 && code <= 7), "unknown error code", text);
    Check(calls == (code != 0 ? 1 : 0) && reported == code, "error event not called once with the code",
          text);
    Check(!parser.ParseFailed || parser.ParseValue == 0, "failed parse with a value", text);
    Check(parser.ParseFailed ||
              (parser.ParseValue == parser.ParseValue && parser.ParseValue - parser.ParseValue == 0),
          "succeeded with an infinity or NaN", text);
    Check(parser.Position >= 1 && parser.Position <= text.size() + 1, "Position outside the text", text);

    // The custom filter's two forms on a few pixels.
    const std::optional<lf::CompiledFormula> compiled = lf::CompiledFormula::Compile(text);
    if (compiled) {
        static const uint8_t pixels[][3] = {{0, 0, 0}, {255, 255, 255}, {1, 10, 100}, {200, 7, 49}};
        lf::TMathParser literal;
        for (const auto& p : pixels) {
            literal.ParseString = lf::SubstituteVariables(text, p[0], p[1], p[2]);
            literal.Parse();
            const lf::Extended variables[3] = {lf::Extended(p[0]), lf::Extended(p[1]), lf::Extended(p[2])};
            lf::Extended value = 0;
            const bool ok = compiled->Evaluate(variables, value);
            Check(ok == !literal.ParseFailed, "compiled and literal disagree on failure", text);
            Check(!ok || std::memcmp(&value, &literal.ParseValue, 10) == 0,
                  "compiled and literal values differ", text);
        }
    }
    return 0;
}
