#pragma once
// A small host for the interpreter's tests: declares a command and an
// extension, collects every AddError call, and runs a script while writing
// down what each step hands back.

#include <string>
#include <string_view>
#include <vector>

#include "core/math_random.h"
#include "script/brisa_script.h"

namespace brumil::script::test {

inline constexpr Long kSay = 100;

class Host {
public:
    explicit Host(std::uint64_t seed = 7) : script(core::MathRandom(seed)) {
        script.SetAddErrorHandler([this](const std::string& m) { posted.push_back(m); });
    }

    // PreProcessBegin, the host's names ("say" 100, extension "ext"), then
    // PreProcessEnd.
    void Compile(std::string_view source, std::string_view name = "t") {
        script.PreProcessBegin(source, name);
        script.AddCommand(kSay, "say");
        script.AddExtend("ext");
        script.PreProcessEnd();
    }

    // Steps at most `cap` times. Each step is written as kind:text, or as the
    // kind alone when the text was left unchanged (jumps); blocks and
    // comments (kind 0 with the text unchanged) and empty commands are left
    // out. The trace ends with -1 when the program ended.
    std::string Run(Long cap = 1000) {
        std::string trace;
        const std::string untouched = "\x01untouched";
        for (Long i = 0; i < cap; ++i) {
            Long k = 0;
            std::string text = untouched;
            script.Coming(k, text);
            const bool kept = text == untouched;
            if (k == kind::kEmpty || (k == kind::kNothing && kept)) continue;
            if (!trace.empty()) trace += "|";
            trace += std::to_string(k);
            if (k == -1) break;
            if (!kept) trace += ":" + text;
        }
        return trace;
    }

    // The error lines of GetErrorMessage.
    std::vector<std::string> ErrorLines() const {
        std::vector<std::string> lines;
        const std::string all = script.GetErrorMessage();
        for (std::size_t from = 0; from < all.size();) {
            const auto at = all.find("\r\n", from);
            lines.push_back(all.substr(from, at - from));
            if (at == std::string::npos) break;
            from = at + 2;
        }
        return lines;
    }

    CBrisaScriptBRS8 script;
    std::vector<std::string> posted;
};

}  // namespace brumil::script::test
