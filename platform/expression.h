// The expression evaluator with bound names: filter and range expressions of the
// lists ("UPPER(Kur:Valut) = UPPER(BRW1::Sort1:Reset:Val:Obozn)"), saved filters
// ("mol:SCode>0") and report views ("MOL:SCode = Report:Save::MOL:SCode").
//
// Language
// - Literals: numbers (12, 2.5, .5) and texts in single quotes with '' for a
//   quote inside ('O''Neil'); double quotes work the same way with "".
// - Names: a letter or '_' followed by letters, digits, '_' and ':' in any
//   combination (mol:SCode, loc:Otd_ID, BRW1::Sort1:Reset:Val:Obozn, BRW1::MARK).
//   Letter case does not matter. Their values come from a NameResolver.
//   Not supported: the runtime's repeat and character-code forms inside texts
//   ('a{3}', '<13,10>'), hexadecimal and binary literals, exponents in literals
//   (exponents are read in bound texts, though).
// - Operators, from the tightest to the loosest binding:
//     unary - +;  ^ (power);  * / % (modulus);  + -;  & (concatenation);
//     = <> < > <= >= (also ~= and != for <>, =< and => , ~< for >=, ~> for <=);
//     NOT (also ~);  AND;  OR, XOR.
//   Binary operators associate to the left. NOT applies to a whole comparison:
//   "NOT a = b AND c" is "(NOT (a = b)) AND c". Keywords and function names
//   ignore letter case. Both sides of AND and OR are always evaluated, so an
//   unknown name is reported whatever the other side's value.
// - Functions: UPPER(t), LOWER(t) (code page 1251 letter case), CLIP(t) (trailing
//   blanks removed), LEFT(t [, length]) (leading blanks moved to the end; with a
//   length the result is cut or blank-padded to it), LEN(t), SUB(t, start, length)
//   (1-based; a negative start counts from the end), INSTRING(sub, t [, step
//   [, start]]) (see below), ABS(n), INT(n) (towards zero), ROUND(n, order)
//   (to the nearest multiple of order, halves away from zero).
//   INSTRING tries the positions start, start + step, ... (both default to 1,
//   values below 1 count as 1) and returns the number of the step, counted from
//   the first character, at which sub occurs: with step 1 that is the 1-based
//   position. 0 when sub is empty or not found.
//
// Values are text or number, as in the runtime:
// - Two texts always compare as code page 1251 bytes, the shorter text padded
//   with blanks, so trailing blanks never matter and letter case does; digits in
//   texts (accounts, INN, telephone numbers) are no exception. When a number
//   (a literal, a numeric field, an arithmetic result) is compared with a number
//   or with a text that looks numeric (optional sign, digits with an optional
//   decimal point and exponent, blanks around), the two compare exactly by
//   their decimal digits, so no digit of a 20-digit number is lost; otherwise
//   the number's text is compared with the other text.
// - Arithmetic converts text that does not look numeric to 0. Division and
//   modulus by zero give 0, as the runtime does; so does any result beyond the
//   range of a number.
// - A value is true when it looks numeric and is not 0, or when it is text that
//   is not blank.
// - The result is text: "1" or "0" for a comparison or logical operation, a
//   number in its shortest form without trailing zeros ("3", "2.5", "-0.25",
//   at most 15 significant digits), text as it is.
//
// Limits: an expression longer than kMaxExpressionLength or nested deeper than
// kMaxNestingDepth (brackets, function calls, unary operators) is a syntax error;
// texts are cut to kMaxTextLength bytes. Nothing throws, and evaluation never
// recurses, so any input is safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Error codes of an evaluation (the runtime's numbering).
enum ExpressionError : int {
    kExpressionOk = 0,
    kExpressionSyntaxError = 800,     // bad syntax, too long or too deeply nested (also out of memory)
    kExpressionUnknownName = 801,     // a name the resolver does not know (or whose getter threw)
    kExpressionBadFunction = 802,     // unknown function or wrong argument count
};

constexpr std::size_t kMaxExpressionLength = 16384;
constexpr int kMaxNestingDepth = 200;
constexpr std::size_t kMaxTextLength = 16384;

// Gives the current value of a bound name as code page 1251 text, or nullopt
// when the name is not bound. The name arrives with ASCII letters upper-cased
// ("BRW1::SORT1:RESET:VAL:OBOZN").
// A bound name's value with its kind: a number (a numeric field or local,
// compared exactly with other numbers) or a text.
struct BoundValue {
    std::string text;
    bool isNumber = false;
};

class NameResolver {
public:
    virtual ~NameResolver() = default;
    virtual std::optional<std::string> value(std::string_view name) const = 0;
    // The value with its kind; by default every bound name is a text.
    virtual std::optional<BoundValue> boundValue(std::string_view name) const;
};

// Names bound to a function that returns the current value, or to a fixed text.
// Binding a name again replaces the earlier binding.
class NameBindings : public NameResolver {
public:
    using Getter = std::function<std::string()>;

    void bind(std::string_view name, Getter getter);
    void bindText(std::string_view name, std::string text);
    // A name whose value is a number written as text ("42", "-2.5").
    void bindNumber(std::string_view name, Getter getter);
    void unbind(std::string_view name);
    void clear() {
        names_.clear();
        numbers_.clear();
    }
    bool isBound(std::string_view name) const;

    std::optional<std::string> value(std::string_view name) const override;
    std::optional<BoundValue> boundValue(std::string_view name) const override;

private:
    std::map<std::string, Getter, std::less<>> names_;  // keys upper-cased
    std::set<std::string, std::less<>> numbers_;        // names bound as numbers
};

// Asks several resolvers in turn (for example a list's local variables, then the
// fields of its record); the first that knows the name answers. The resolvers
// must outlive the chain.
class ResolverChain : public NameResolver {
public:
    ResolverChain() = default;
    ResolverChain(std::initializer_list<const NameResolver*> resolvers) : resolvers_(resolvers) {}
    void add(const NameResolver& resolver) { resolvers_.push_back(&resolver); }
    std::optional<std::string> value(std::string_view name) const override;
    std::optional<BoundValue> boundValue(std::string_view name) const override;

private:
    std::vector<const NameResolver*> resolvers_;
};

struct ExpressionResult {
    std::string text;  // empty whenever error is not 0
    int error = kExpressionOk;
    bool ok() const { return error == kExpressionOk; }
};

// An expression parsed once and evaluated many times (a view's filter is
// evaluated for every record read). Syntax and function errors are found when
// compiling; unknown names when evaluating, since bindings may change between
// evaluations. Copyable; evaluate() has no side effects of its own.
class Expression {
public:
    Expression();  // an empty expression: a syntax error
    static Expression compile(std::string_view text) noexcept;

    int compileError() const { return compileError_; }
    bool valid() const { return compileError_ == kExpressionOk; }
    ExpressionResult evaluate(const NameResolver& names) const noexcept;
    // The names the expression reads, upper-cased, each once, in order of first
    // use; nothing for an expression that did not compile.
    std::vector<std::string> names() const;

    // One instruction of the compiled (postfix) form; internal to the evaluator.
    struct Step {
        std::uint8_t op = 0;
        std::uint8_t argCount = 0;
        std::uint32_t operand = 0;
    };

private:
    std::vector<Step> steps_;
    std::vector<std::string> numberTexts_;  // number literals as written
    std::vector<std::string> texts_;  // text literals and upper-cased names
    int compileError_ = kExpressionSyntaxError;

    friend class ExpressionCompiler;
};

// Compiles and evaluates in one go.
ExpressionResult evaluateExpression(std::string_view text, const NameResolver& names) noexcept;

}  // namespace platform
