// Integer expressions: reading operands and operators, conversion to postfix
// order and evaluation, all on fixed buffers of kTokenLimit entries.

#include <algorithm>
#include <array>
#include <cstdint>

#include "script/brisa_script.h"
#include "script_messages.h"
#include "script_support.h"

namespace brumil::script {
namespace {

struct Token {
    bool operand = false;
    Long value = 0;      // an operand's value
    Long code = 0;       // an operator's code
    Long cls = 0;        // an operator's precedence class
    bool bound = false;  // a prefix operator bound to its operand
};

// Deeper index nesting ("a[a[a[...]]]") is refused rather than followed, so a
// hostile text cannot exhaust the stack.
constexpr Long kDepthLimit = 32;

constexpr std::size_t kLimit = static_cast<std::size_t>(CBrisaScriptBRS8::kTokenLimit);

template <typename T>
struct FixedStack {
    std::array<T, kLimit> items{};
    std::size_t size = 0;
    bool Push(const T& t) {
        if (size >= items.size()) return false;
        items[size++] = t;
        return true;
    }
    T& Top() { return items[size - 1]; }
};

bool IsPrefix(Long code) {
    return code == op::kAdd || code == op::kSub || code == op::kNot || code == op::kRandom ||
           code == op::kPlain;
}

Long Bound(std::int64_t v) {
    return static_cast<Long>(
        std::clamp<std::int64_t>(v, CBrisaScriptBRS8::IntMin, CBrisaScriptBRS8::IntMax));
}

// Counts the nesting of expressions evaluated inside an index.
class DepthGuard {
public:
    explicit DepthGuard(Long& depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
    bool TooDeep() const { return depth_ > kDepthLimit; }

private:
    Long& depth_;
};

}  // namespace

Long CBrisaScriptBRS8::MathExpression(std::string_view text) {
    return MathExpr(ToChars(text));
}

Long CBrisaScriptBRS8::MathExpr(CharsView text) {
    return text.empty() ? 0 : Evaluate(text);
}

Chars CBrisaScriptBRS8::PickPart(CharsView text) {
    const auto parts = SplitChars(text, U'/');
    return Trim(parts[static_cast<std::size_t>(Random(0, static_cast<Long>(parts.size()) - 1))]);
}

bool CBrisaScriptBRS8::ReadOperand(CharsView text, Long& pos, OperandToken& out) {
    const Long cls = ReadPrefix(text, pos);
    if (IsLetterClass(cls)) {
        Chars name;
        Chars index;
        bool bad = false;
        ReadVariable(text, pos, name, index, bad);
        if (bad) ErrorLine(msg::kBadIndex);
        const Long i = MathExpr(index);
        out = {true, LongOf(GetVar(name, i), IntMin, IntMax), 0};
        return true;
    }
    Chars token;
    Long code = 0;
    const Long c = ReadOperator(text, pos, token, code);
    if (IsDigitClass(c)) {
        out = {true, LongOf(token, IntMin, IntMax), 0};
        return true;
    }
    if (!IsSymbolClass(c) || code == 0) return false;  // the end of the expression
    out = {false, 0, code};
    return true;
}

Long CBrisaScriptBRS8::Apply(Long code, Long a, Long b) {
    const std::int64_t x = a;
    const std::int64_t y = b;
    switch (code) {
        case op::kOrElse:
            return (a | b) != 0 ? 1 : 0;
        case op::kAndAlso:
            return (a != 0 && b != 0) ? 1 : 0;
        case op::kXor:
            return Bound(x ^ y);
        case op::kOr:
            return a | b;
        case op::kAnd:
            return a & b;
        case op::kEqual:
            return a == b ? 1 : 0;
        case op::kNotEqual:
            return a != b ? 1 : 0;
        case op::kLess:
            return a < b ? 1 : 0;
        case op::kGreater:
            return a > b ? 1 : 0;
        case op::kLessEq:
            return a <= b ? 1 : 0;
        case op::kGreaterEq:
            return a >= b ? 1 : 0;
        case op::kAdd:
            return Bound(x + y);
        case op::kSub:
            return Bound(x - y);
        case op::kMul:
            return Bound(x * y);
        case op::kMod:
            return b == 0 ? 0 : Bound(x % y);
        case op::kDiv:
            return b == 0 ? 0 : Bound(x / y);
        case op::kNot:
            return b == 0 ? 1 : 0;
        case op::kRandom:
            return Random(0, std::clamp<Long>(b, 0, 32767));
        case op::kPlain:
            return b;
        default:
            ErrorLine(msg::kBadOperator);
            return 0;
    }
}

Long CBrisaScriptBRS8::Evaluate(CharsView text) {
    DepthGuard guard(depth_);
    if (guard.TooDeep()) {
        ErrorLine(msg::kExpression);
        return 0;
    }
    // 1. The tokens, with a 0 before every prefix operator.
    FixedStack<Token> tokens;
    Long pos = 1;
    while (true) {
        OperandToken read;
        if (!ReadOperand(text, pos, read)) break;
        Token t{read.operand, read.value, read.code, op::ClassOf(read.code), false};
        const bool afterOperator =
            tokens.size == 0 || (!tokens.Top().operand && tokens.Top().code != op::kClose);
        if (!t.operand && IsPrefix(t.code) && afterOperator) {
            // One right after another operator binds to its operand, so that
            // "2*-3" is 2 * (0 - 3), "!-5" is !(0 - 5) and "!!5" is !(!5).
            if (tokens.size > 0) {
                t.cls = op::kPrefixClass;
                t.bound = true;
            }
            if (!tokens.Push(Token{true, 0, 0, 0, false})) {
                ErrorLine(msg::kTooLong);
                return 0;
            }
        }
        if (!tokens.Push(t)) {
            ErrorLine(msg::kTooLong);
            return 0;
        }
    }
    // 2. The short forms.
    const auto& tk = tokens.items;
    if (tokens.size == 0) {
        ErrorLine(msg::kNoValue);
        return 0;
    }
    if (tokens.size == 1 && tk[0].operand) return tk[0].value;
    if (tokens.size == 3 && tk[0].operand && !tk[1].operand && tk[2].operand) {
        return Apply(tk[1].code, tk[0].value, tk[2].value);
    }
    // 3. Postfix order; equal classes leave from the left.
    FixedStack<Token> output;
    FixedStack<Token> operators;
    for (std::size_t i = 0; i < tokens.size; ++i) {
        const Token& t = tk[i];
        if (t.operand) {
            output.Push(t);
            continue;
        }
        operators.Push(t);
        // A bound prefix takes nothing before it: a chain applies from the right.
        if (t.bound) continue;
        while (operators.size >= 2) {
            Token& top = operators.Top();
            Token& below = operators.items[operators.size - 2];
            if (below.cls < top.cls) break;
            if (below.code == op::kOpen && top.code == op::kClose) {
                operators.size -= 2;
                continue;
            }
            if (below.code == op::kOpen) break;
            output.Push(below);
            below = top;
            --operators.size;
        }
    }
    while (operators.size > 0 && operators.Top().code != op::kOpen) {
        output.Push(operators.Top());
        --operators.size;
    }
    // 4. Run the output on a value stack.
    FixedStack<Long> values;
    for (std::size_t i = 0; i < output.size; ++i) {
        const Token& t = output.items[i];
        if (t.operand) {
            values.Push(t.value);
            continue;
        }
        if (values.size < 2) {
            ErrorLine(msg::kExpression);
            return 0;
        }
        const Long b = values.items[--values.size];
        const Long a = values.items[--values.size];
        values.Push(Apply(t.code, a, b));
    }
    if (values.size != 1) {
        ErrorLine(msg::kExpression);
        return 0;
    }
    return values.items[0];
}

}  // namespace brumil::script
