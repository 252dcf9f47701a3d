#include "script/script_fuzz.h"

#include <string>
#include <vector>

#include "core/math_random.h"
#include "script/brisa_script.h"

namespace brumil::script {
namespace {

constexpr Long kSayCode = 100;
constexpr Long kAskCode = 101;

// Whole scripts that use every statement; mutations start from these.
constexpr const char* kSamples[] = {
    "int a\r\na = 2+3*4\r\n#a is $a$\r\nあいう\r\n",
    "int i\r\nfor i < 3\r\n#i=$i$\r\nnext\r\n#after $i$",
    "int i\r\nif i < 3\r\ni += 1\r\n#$i$\r\nloop\r\nend\r\n#done",
    "int i\n\"top\"\ni += 1\nif i < 3\ngoto \"top\"\nend\n#$i$\n",
    "int a\r\na = 3\r\nswitch case a\r\ncase 1\r\n#one\r\ncase 3\r\n#three\r\ncase "
    "else\r\n#other\r\nend",
    "int a\r\nif a == 1\r\n#one\r\nelse if a == 0\r\n#zero\r\nelse\r\n#x\r\nend",
    "str t\r\nt = #abcdef\r\n#$t,2,3$ $t,3$ $＄$ $；$ $あ/い/う$\r\nt += #gh ; comment",
    "int b ^ array 3 ^ b @= 4, 5, 6 ^ #$b[1]$ $b[2]$ ^ b[3] = $2:10:20$",
    "say hello $n$\r\next  x  y\r\nask\r\nn = ?9\r\ns ?= a/b/c\r\nm[2]++\r\nm--",
    "int i\r\n\"loop\"\r\ni += 1\r\nif i == 2\r\ncontinue\r\nend\r\nif i == 4\r\nbreak\r\nend\r\n"
    "continue\r\n\"out\"\r\n#end $i$",
    "int k = 5\r\nstr u = #x\r\nu += $u$\r\nu -= 2\r\ngoto \"$u$\"\r\n\"x\"\r\nendscript",
    "if 1\r\nif 2\r\nselect 1\r\ncase 1\r\nfor n < 2\r\nend\r\nend\r\nend\r\nend\r\n",
};

constexpr const char* kPieces[] = {
    "if ",   "elseif ",   "else",  "else if ", "end",         "select ", "switch case ",
    "case ", "case else", "for ",  "next",     "loop",        "goto ",   "continue",
    "break", "endscript", "int ",  "str ",     "extend ",     "array ",  "n",
    "m",     "s",         "say",   "ask",      "ext",         "x",       "i",
    "N",     "m[1]",      "s,1,2", "=",        "+=",          "-=",      "++",
    "--",    "?=",        "@=",    "+",        "-",           "*",       "/",
    "%",     "==",        "!=",    "<",        "<=",          ">",       ">=",
    "&&",    "||",        "&",     "|",        "!",           "?",       "@",
    "(",     ")",         "[",     "]",        ",",           ":",       "^",
    ";",     "#",         "$",     "\"",       "0",           "1",       "2",
    "3",     "-1",        "32767", "40000",    "99999999999", "あ",      "いう",
    "＃",    "＄",        "；",    "＾",       "　",          "\r\n",    "\n",
    "\r",    " ",         "\t",    "$$$$",     "[[[[",        "((((",    "))))",
    "]]]]",  "\"top\"",   "$n$",   "$s$",      "$1:a:b$",
};

template <typename T, std::size_t N>
const T& Pick(core::MathRandom& r, const T (&items)[N]) {
    return items[static_cast<std::size_t>(r.Range(0, static_cast<Long>(N) - 1))];
}

std::size_t At(core::MathRandom& r, const std::string& s) {
    return static_cast<std::size_t>(r.Range(0, static_cast<Long>(s.size())));
}

std::string RandomScript(core::MathRandom& r) {
    std::string s;
    const Long pieces = r.Range(1, 200);
    for (Long i = 0; i < pieces; ++i) s += Pick(r, kPieces);
    return s;
}

void Mutate(core::MathRandom& r, std::string& s) {
    switch (r.Range(0, 5)) {
        case 0:
            s.insert(At(r, s), Pick(r, kPieces));
            break;
        case 1: {
            const std::size_t from = At(r, s);
            s.erase(from, static_cast<std::size_t>(r.Range(1, 16)));
            break;
        }
        case 2: {
            const std::size_t from = At(r, s);
            const std::string part = s.substr(from, static_cast<std::size_t>(r.Range(1, 40)));
            s.insert(At(r, s), part);
            break;
        }
        case 3:
            // Any byte, so broken UTF-8 and control characters come in too.
            if (!s.empty()) s[At(r, s) % s.size()] = static_cast<char>(r.Range(0, 255));
            break;
        case 4: {
            constexpr char kRuns[] = {'$', '[', '(', ')', ']', '"', '^'};
            s.insert(At(r, s), static_cast<std::size_t>(r.Range(1, 60)), Pick(r, kRuns));
            break;
        }
        default: {
            const std::string other = Pick(r, kSamples);
            s.insert(At(r, s), other.substr(0, static_cast<std::size_t>(r.Range(0, 80))));
            break;
        }
    }
}

bool IsHandedBackKind(Long k) {
    return (k >= -1 && k <= kind::kStatement) || k == kSayCode || k == kAskCode;
}

}  // namespace

FuzzOutcome FuzzScript(std::string_view source, std::uint64_t seed, Long stepLimit) {
    FuzzOutcome out;
    CBrisaScriptBRS8 script{core::MathRandom(seed)};
    Long posted = 0;
    script.SetAddErrorHandler([&posted](const std::string&) { ++posted; });
    script.PreProcessBegin(source, "fuzz");
    script.AddCommand(kSayCode, "say");
    script.AddCommand(kAskCode, "ask");
    script.AddExtend("ext");
    script.AddInt("n");
    script.AddInt("m");
    script.AddArray(3);
    script.AddStr("s");
    script.PreProcessEnd();

    Long kindOut = 0;
    std::string text;
    while (out.steps < stepLimit && !out.ended) {
        script.Coming(kindOut, text);
        ++out.steps;
        if (!IsHandedBackKind(kindOut)) {
            out.fault = "kind " + std::to_string(kindOut) + " handed back";
            break;
        }
        out.ended = kindOut == -1;
    }
    if (out.ended) {
        script.Coming(kindOut, text);
        if (kindOut != -1 || !text.empty()) out.fault = "the ended program ran again";
    }
    out.errors = script.GetErrorCount() < 0 ? 0 : script.GetErrorCount();
    if (out.fault.empty() && posted != out.errors) {
        out.fault = std::to_string(posted) + " AddError calls for " + std::to_string(out.errors) +
                    " errors";
    }
    const std::string dump = script.Dump();
    Long lines = dump.empty() ? 0 : 1;
    for (std::size_t at = dump.find("\r\n"); at != std::string::npos;
         at = dump.find("\r\n", at + 2)) {
        ++lines;
    }
    if (out.fault.empty() && lines > script.CommandCount())
        out.fault = "more listing lines than commands";
    return out;
}

std::string FuzzCase(std::uint64_t seed, Long index) {
    core::MathRandom r(seed * 0x9E3779B97F4A7C15ull + static_cast<std::uint64_t>(index));
    if (r.Range(0, 2) == 0) return RandomScript(r);
    std::string s = Pick(r, kSamples);
    const Long mutations = r.Range(1, 8);
    for (Long i = 0; i < mutations; ++i) Mutate(r, s);
    return s;
}

FuzzSummary FuzzRun(std::uint64_t seed, Long count, Long stepLimit) {
    FuzzSummary summary;
    for (Long i = 0; i < count; ++i) {
        const FuzzOutcome o =
            FuzzScript(FuzzCase(seed, i), seed + static_cast<std::uint64_t>(i), stepLimit);
        ++summary.cases;
        summary.steps += o.steps;
        summary.errors += o.errors;
        if (o.ended) ++summary.ended;
        if (!o.fault.empty()) {
            if (summary.failures == 0) {
                summary.firstFailure = i;
                summary.fault = o.fault;
            }
            ++summary.failures;
        }
    }
    return summary;
}

}  // namespace brumil::script
