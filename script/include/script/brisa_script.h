#pragma once
// CBrisaScriptBRS8: a small line-oriented script language for a host program.
//
// The host hands over a script text, declares its own commands and variables,
// compiles, then steps the program with Coming, one command at a time, acting
// on what comes back: text lines (kind 2), labels (3), assignments (4, with
// the written slot's name), its own commands (their code, with the argument
// text), and -1 once the program has ended. The interpreter runs
// declarations, assignments, blocks (if, select, for, loop) and jumps itself.
//
// Calling order: PreProcessBegin; AddCommand, AddExtend, AddInt, AddStr,
// AddArray; PreProcessEnd; Coming until it answers -1. Move, MoveTo,
// LetVariable, GetVariable and strData work at any time.
//
// Bad script text never stops the host: every error is posted as a line
// (through the AddError handler, then into the error text) and the step goes
// on with 0 or "" where a value was wanted.
//
// All values live as text in variable slots; integers are kept within
// IntMin..IntMax wherever they are stored. Texts are UTF-8 at this interface
// and code points inside, so positions count characters.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hash_list.h"
#include "core/math_random.h"
#include "core/vb_types.h"
#include "script/script_reader.h"

namespace brumil::script {

// Compiled command kinds.
namespace kind {
inline constexpr Long kNothing = 0;  // comment, or a line that failed to compile
inline constexpr Long kEmpty = 1;
inline constexpr Long kText = 2;
inline constexpr Long kLabel = 3;
inline constexpr Long kStatement = 4;  // host command (after linking)
inline constexpr Long kLetInt = 5;
inline constexpr Long kLetStr = 6;
inline constexpr Long kIf = 10;
inline constexpr Long kSelect = 11;
inline constexpr Long kCase = 12;
inline constexpr Long kElse = 13;
inline constexpr Long kElseIf = 14;
inline constexpr Long kEnd = 15;
inline constexpr Long kLoop = 16;
inline constexpr Long kFor = 17;
inline constexpr Long kNext = 18;
inline constexpr Long kGoto = 20;
inline constexpr Long kContinue = 21;
inline constexpr Long kBreak = 22;
inline constexpr Long kEndScript = 23;
inline constexpr Long kInt = 30;
inline constexpr Long kStr = 31;
inline constexpr Long kExtend = 32;
inline constexpr Long kArray = 33;
}  // namespace kind

// Command modes.
inline constexpr Long kModeMarkers = 1;   // the text holds "$" markers to substitute
inline constexpr Long kModeResolved = 2;  // no substitution needed, or jump resolved

struct CommandRecord {
    Long Start = 0;     // 1-based position of the first character in the source
    Long Length = 0;    // characters, without the terminator
    Long DumpMark = 0;  // 0, 1 or 2 (DumpAlt)
    Long Line = 0;      // 1-based source line
    Long Kind = 0;      // kind:: value
    Long Mode = 0;      // kModeMarkers or kModeResolved
    Long Target = 0;    // host command code, or resolved jump target
    Chars Text;
};

// NameRecord kinds.
inline constexpr Long kNameKeyword = 1;
inline constexpr Long kNameHost = 2;  // host command or extension name
inline constexpr Long kNameInt = 3;
inline constexpr Long kNameStr = 4;

struct NameRecord {
    Long NameKind = 0;
    Long Code = 0;  // keyword code or host command code; 0 for variables
    Long Slot = 0;  // first value slot
};

class CBrisaScriptBRS8 {
public:
    static constexpr Long IntMax = 32767;
    static constexpr Long IntMin = -32767;
    // Host command codes start here; lower ones are the interpreter's own kinds.
    static constexpr Long kFirstHostCode = 5;
    static constexpr Long kNestingLimit = 100;
    static constexpr Long kTokenLimit = 49;
    // Characters a text slot keeps, so that a script that keeps doubling a text
    // cannot exhaust the host's memory.
    static constexpr Long kValueLimit = 65535;
    // Error lines, and characters, the error text keeps, so that a script
    // that posts errors in a loop cannot exhaust the host's memory. Later
    // errors still reach the AddError handler and are counted.
    static constexpr Long kErrorLineLimit = 1000;
    static constexpr Long kErrorTextLimit = 65536;
    // Variable slots a script may hold in all, array elements included: eight
    // arrays of the largest size. Each slot costs about 230 bytes across the
    // name and slot tables, so one script's declarations stay near 60 MB and
    // compile in a fraction of a second. An array that would pass the bound
    // declares nothing.
    static constexpr Long kSlotLimit = 262144;

    using ErrorHandler = std::function<void(const std::string& message)>;

    // `random` draws the "/" choices, "?" and "?=".
    explicit CBrisaScriptBRS8(core::MathRandom random = core::MathRandom());

    // The AddError event: called with every error line before it is stored.
    void SetAddErrorHandler(ErrorHandler handler) { addError_ = std::move(handler); }

    // ---- Host interface ---------------------------------------------------------
    // Runs the command at PC, hands back its kind and text, then PC + 1.
    void Coming(Long& kind, std::string& text);
    // Empties the object, takes the source (a lone LF becomes CR LF) and its
    // name, and registers the keywords.
    void PreProcessBegin(std::string_view text, std::string_view name);
    // Compiles, then Move(0).
    void PreProcessEnd();
    void Move(Long pc) { pc_ = pc; }
    // PC at the label's command; false (PC unchanged) when it does not exist.
    bool MoveTo(std::string_view label);

    // The error lines kept (the first ones posted, each ended by CR LF).
    std::string GetErrorMessage() const { return errorText_; }
    // Error lines posted so far, kept or not; -1 when there is none.
    Long GetErrorCount() const { return errorCount_ == 0 ? -1 : errorCount_; }
    void ErrorPost(std::string_view message);
    void ErrorClear();

    // Raises the current command's mark (at most 2), shown by Dump.
    void DumpAlt();
    // The program listing, one line per source line that holds commands.
    std::string Dump() const;

    // One "name=value" line per variable slot.
    std::string strData() const;
    // Sets variables from "name=value" lines.
    void strData(std::string_view text);
    // Writes a slot; answers its name ("" on error).
    std::string LetVariable(std::string_view name, Long index, std::string_view value);
    std::string GetVariable(std::string_view name, Long index);
    // Substitutes the "$" markers of a text.
    void Replace(std::string& text, bool& found);

    void AddCommand(Long code, std::string_view name);
    void AddInt(std::string_view name);
    void AddStr(std::string_view name);
    // Declares an extension name unless the name is known already.
    void AddExtend(std::string_view name);
    // Appends count integer elements to the last declared name; posts an
    // error instead when they would pass kSlotLimit.
    void AddArray(Long count);

    // Runs the assignment at position (1-based); result is the written slot.
    void Substitute(std::string_view text, Long& position, bool readOnly, bool noMarkers,
                    std::string& result);
    // The value of an expression; 0 for an empty text.
    Long MathExpression(std::string_view text);

    // ---- Inspection -------------------------------------------------------------
    Long PC() const { return pc_; }
    Long CommandCount() const { return static_cast<Long>(commands_.size()); }
    // The command at an index; must be within 0..CommandCount()-1.
    const CommandRecord& Command(Long index) const;
    Long SlotCount() const { return static_cast<Long>(values_.size()); }
    const std::string& ScriptName() const { return scriptName_; }

private:
    // Names and slots.
    Long AllocateSlot(CharsView name);
    bool Register(CharsView name, NameRecord record);
    // Index into names_, or -1.
    Long FindName(CharsView name) const;
    // The slot of name + index, or -1 after posting the matching error.
    Long ResolveSlot(CharsView name, Long index, const NameRecord*& record);
    Chars LetVar(CharsView name, Long index, CharsView value);
    Chars GetVar(CharsView name, Long index);

    // Errors: the message with the current command's line, then posted.
    void ErrorLine(std::string_view message);

    // Compiling.
    void SplitCommands();
    void ParseCommands();
    void ParseStatement(Long index);
    void ParseDeclaration(Long index, Long declKind, Long pos);
    void LinkCommands();
    void CheckMarkers();
    Chars CommandSource(const CommandRecord& c) const;
    Long NearestLabel(Long from, Long step) const;

    // Expressions.
    struct OperandToken {
        bool operand = false;
        Long value = 0;
        Long code = 0;
    };
    Long MathExpr(CharsView text);
    Long Evaluate(CharsView text);
    // One operand or operator; false at the end of the expression.
    bool ReadOperand(CharsView text, Long& pos, OperandToken& out);
    Long Apply(Long code, Long a, Long b);
    Long Random(Long min, Long max) { return random_.Range(min, max); }
    // One of the "/"-separated parts, picked at random and trimmed.
    Chars PickPart(CharsView text);

    // Markers and assignments.
    bool ReplaceMarkers(Chars& text);
    Chars SubstituteMarker(CharsView content);
    Chars SubstituteVariable(CharsView content, CharsView head, CharsView tail);
    Chars SubstituteExpression(CharsView head);
    Chars Assign(CharsView text, Long& pos, bool readOnly, bool noMarkers);
    Chars Substituted(const CommandRecord& c);

    // Stepping.
    void RunBlock(const CommandRecord& c);
    void RunJump(const CommandRecord& c);
    bool ConditionHolds(const CommandRecord& c);
    void BumpForVariable(const CommandRecord& c);
    void ClearForVariable(const CommandRecord& c);

    core::MathRandom random_;
    ErrorHandler addError_;

    std::string errorText_;
    Long errorCount_ = 0;      // lines posted since the last clear
    bool errorsFull_ = false;  // the error text keeps no more lines
    Chars sourceText_;
    std::string scriptName_;
    Long pc_ = 0;
    std::vector<CommandRecord> commands_;
    core::CHashList nameTable_;   // lower-cased name -> index into names_
    core::CHashList labelTable_;  // lower-cased label -> command index + 1
    std::vector<NameRecord> names_;
    std::vector<Chars> values_;
    std::vector<Chars> slotNames_;
    Chars lastName_;
    Long depth_ = 0;  // nesting of expressions being evaluated
};

}  // namespace brumil::script
