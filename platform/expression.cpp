#include "platform/expression.h"
#include "platform/expression_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

#include "platform/cp1251.h"

namespace platform {

using namespace expression_detail;

namespace {

// Instructions of the compiled form. The compiler emits them in postfix order,
// so that evaluation is a loop over a value stack and never recurses.
enum Op : std::uint8_t {
    kPushNumber,  // operand: index into numberTexts_
    kPushText,    // operand: index into texts_
    kPushName,    // operand: index into texts_ (the upper-cased name)
    kNegate,
    kToNumber,  // unary plus
    kNot,
    kAdd,
    kSubtract,
    kMultiply,
    kDivide,
    kModulus,
    kPower,
    kConcat,
    kEqual,
    kNotEqual,
    kLess,
    kGreater,
    kLessEqual,
    kGreaterEqual,
    kAnd,
    kOr,
    kXor,
    kCall,  // operand: Function; argCount: arguments on the stack
};

enum Function : std::uint32_t { kUpper, kLower, kClip, kLeft, kLen, kSub, kInstring, kAbs, kInt, kRound };

struct FunctionInfo {
    const char* name;
    Function id;
    int minArgs;
    int maxArgs;
};

constexpr FunctionInfo kFunctions[] = {
    {"UPPER", kUpper, 1, 1}, {"LOWER", kLower, 1, 1},       {"CLIP", kClip, 1, 1},
    {"LEFT", kLeft, 1, 2},   {"LEN", kLen, 1, 1},           {"SUB", kSub, 3, 3},
    {"INSTRING", kInstring, 2, 4}, {"ABS", kAbs, 1, 1},     {"INT", kInt, 1, 1},
    {"ROUND", kRound, 2, 2},
};



// ---------------------------------------------------------------- values

struct Value {
    bool isNumber = false;
    double number = 0;
    std::string text;  // a text's value; for a number, its exact decimal digits when known

    static Value ofNumber(double n) {
        Value v;
        v.isNumber = true;
        v.number = finiteOrZero(n);
        return v;
    }
    // A number written out exactly (a literal, a numeric field): comparisons use
    // the written digits, so 20-digit account numbers keep every digit.
    static Value ofExactNumber(std::string digits) {
        Value v;
        double n = 0;
        if (!parseNumeric(digits, n)) return ofText(std::move(digits));
        v.isNumber = true;
        v.number = n;
        v.text = std::move(digits);
        return v;
    }
    static Value ofText(std::string t) {
        Value v;
        if (t.size() > kMaxTextLength) t.resize(kMaxTextLength);
        v.text = std::move(t);
        return v;
    }
    static Value ofBool(bool b) { return ofNumber(b ? 1 : 0); }
};

std::string textOf(const Value& v) { return v.isNumber ? formatNumber(v.number) : v.text; }

// The decimal digits of a number as exactly as they are known: the written
// digits of a literal or a field, else the shortest text that reads back as the
// same double.
std::string exactDigitsOf(const Value& v) {
    if (!v.text.empty()) return v.text;
    char buffer[400];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, v.number);
    if (ec != std::errc()) return formatNumber(v.number);
    return std::string(buffer, ptr);
}

// A numeric text taken apart for an exact comparison: the sign, the significant
// digits without leading or trailing zeros, and the position of the decimal
// point counted from the first of them.
struct ExactDecimal {
    bool negative = false;
    std::string digits;      // empty for zero
    std::int64_t point = 0;  // value = 0.digits * 10^point
};

// Expects a text that parseNumeric accepts.
ExactDecimal exactDecimalOf(std::string_view text) {
    ExactDecimal d;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) d.negative = text[i++] == '-';
    std::int64_t intDigits = 0;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            seenPoint = true;
            continue;
        }
        if (!isDigit(c)) break;
        if (d.digits.empty() && c == '0') {
            if (seenPoint) --intDigits;  // a leading zero after the point moves the point
            continue;
        }
        d.digits += c;
        if (!seenPoint) ++intDigits;
    }
    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        for (; i < text.size() && isDigit(text[i]); ++i) {
            exponent = std::min<std::int64_t>(exponent * 10 + (text[i] - '0'), 1000000000);
        }
        if (negativeExponent) exponent = -exponent;
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) {
        d.negative = false;
        return d;
    }
    d.point = intDigits + exponent;
    return d;
}

int compareMagnitude(const ExactDecimal& a, const ExactDecimal& b) {
    if (a.digits.empty() || b.digits.empty()) {
        return a.digits.empty() == b.digits.empty() ? 0 : (a.digits.empty() ? -1 : 1);
    }
    if (a.point != b.point) return a.point < b.point ? -1 : 1;
    const int order = a.digits.compare(b.digits);  // no trailing zeros, so plain order holds
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int compareExact(std::string_view a, std::string_view b) {
    const ExactDecimal da = exactDecimalOf(a);
    const ExactDecimal db = exactDecimalOf(b);
    if (da.negative != db.negative) return da.negative ? -1 : 1;
    const int magnitude = compareMagnitude(da, db);
    return da.negative ? -magnitude : magnitude;
}

bool numericValue(const Value& v, double& out) {
    if (v.isNumber) {
        out = v.number;
        return true;
    }
    return parseNumeric(v.text, out);
}

double numberOf(const Value& v) {
    double n = 0;
    return numericValue(v, n) ? n : 0.0;
}

bool truthOf(const Value& v) {
    double n = 0;
    if (numericValue(v, n)) return n != 0;
    return !clip(v.text).empty();
}

// Byte order of code page 1251 with the shorter text padded by blanks.
int compareText(std::string_view a, std::string_view b) {
    const std::size_t size = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char ca = i < a.size() ? static_cast<unsigned char>(a[i]) : ' ';
        const unsigned char cb = i < b.size() ? static_cast<unsigned char>(b[i]) : ' ';
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return 0;
}

// Two texts compare as texts, even when both hold digits (account, INN and
// telephone numbers). When a number takes part and the other side reads as a
// number too, the two compare exactly, digit by digit.
int compareValues(const Value& a, const Value& b) {
    double unused = 0;
    if ((a.isNumber || b.isNumber) && numericValue(a, unused) && numericValue(b, unused)) {
        const std::string da = a.isNumber ? exactDigitsOf(a) : a.text;
        const std::string db = b.isNumber ? exactDigitsOf(b) : b.text;
        return compareExact(da, db);
    }
    return compareText(textOf(a), textOf(b));
}

// ---------------------------------------------------------------- functions

std::int64_t instring(std::string_view sub, std::string_view text, std::int64_t step, std::int64_t start) {
    if (sub.empty() || sub.size() > text.size()) return 0;
    step = std::max<std::int64_t>(step, 1);
    start = std::max<std::int64_t>(start, 1);
    const auto lastStart = static_cast<std::int64_t>(text.size() - sub.size()) + 1;
    for (std::int64_t position = start; position <= lastStart; position += step) {
        if (step == 1) {
            const std::size_t found = text.find(sub, static_cast<std::size_t>(position - 1));
            return found == std::string_view::npos ? 0 : static_cast<std::int64_t>(found) + 1;
        }
        if (text.compare(static_cast<std::size_t>(position - 1), sub.size(), sub) == 0) {
            return (position - 1) / step + 1;
        }
    }
    return 0;
}

std::string sub(std::string_view text, std::int64_t start, std::int64_t length) {
    const auto size = static_cast<std::int64_t>(text.size());
    if (start < 0) start = size + start + 1;
    if (start < 1) {
        length -= 1 - start;
        start = 1;
    }
    if (length <= 0 || start > size) return {};
    return std::string(text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)));
}

std::string left(std::string_view text, std::int64_t length) {
    std::size_t first = 0;
    while (first < text.size() && text[first] == ' ') ++first;
    std::string result(text.substr(first));
    result.resize(static_cast<std::size_t>(std::clamp<std::int64_t>(length, 0, kMaxTextLength)), ' ');
    return result;
}

double roundTo(double value, double order) {
    if (order == 0) return value;
    const double steps = value / order;
    // A nudge of a few units in the last place, so that 2.675 / 0.01 (which the
    // binary fraction makes 267.4999...) rounds up as it does in decimal.
    return std::round(steps * (1 + 1e-12)) * order;
}

Value callFunction(Function function, Value* args, int count) {
    switch (function) {
    case kUpper:
        return Value::ofText(upper(textOf(args[0])));
    case kLower:
        return Value::ofText(lower(textOf(args[0])));
    case kClip:
        return Value::ofText(std::string(clip(textOf(args[0]))));
    case kLeft: {
        const std::string text = textOf(args[0]);
        const std::int64_t length = count > 1 ? toCount(numberOf(args[1])) : static_cast<std::int64_t>(text.size());
        return Value::ofText(left(text, length));
    }
    case kLen:
        return Value::ofNumber(static_cast<double>(textOf(args[0]).size()));
    case kSub:
        return Value::ofText(sub(textOf(args[0]), toCount(numberOf(args[1])), toCount(numberOf(args[2]))));
    case kInstring: {
        const std::int64_t step = count > 2 ? toCount(numberOf(args[2])) : 1;
        const std::int64_t start = count > 3 ? toCount(numberOf(args[3])) : 1;
        return Value::ofNumber(static_cast<double>(instring(textOf(args[0]), textOf(args[1]), step, start)));
    }
    case kAbs:
        return Value::ofNumber(std::fabs(numberOf(args[0])));
    case kInt:
        return Value::ofNumber(std::trunc(numberOf(args[0])));
    case kRound:
        return Value::ofNumber(roundTo(numberOf(args[0]), numberOf(args[1])));
    }
    return Value::ofText({});
}

Value binary(Op op, const Value& a, const Value& b) {
    switch (op) {
    case kAdd:
        return Value::ofNumber(numberOf(a) + numberOf(b));
    case kSubtract:
        return Value::ofNumber(numberOf(a) - numberOf(b));
    case kMultiply:
        return Value::ofNumber(numberOf(a) * numberOf(b));
    case kDivide: {
        const double divisor = numberOf(b);
        return Value::ofNumber(divisor == 0 ? 0 : numberOf(a) / divisor);
    }
    case kModulus: {
        const double divisor = numberOf(b);
        return Value::ofNumber(divisor == 0 ? 0 : std::fmod(numberOf(a), divisor));
    }
    case kPower:
        return Value::ofNumber(std::pow(numberOf(a), numberOf(b)));
    case kConcat:
        return Value::ofText(textOf(a) + textOf(b));
    case kEqual:
        return Value::ofBool(compareValues(a, b) == 0);
    case kNotEqual:
        return Value::ofBool(compareValues(a, b) != 0);
    case kLess:
        return Value::ofBool(compareValues(a, b) < 0);
    case kGreater:
        return Value::ofBool(compareValues(a, b) > 0);
    case kLessEqual:
        return Value::ofBool(compareValues(a, b) <= 0);
    case kGreaterEqual:
        return Value::ofBool(compareValues(a, b) >= 0);
    case kAnd:
        return Value::ofBool(truthOf(a) && truthOf(b));
    case kOr:
        return Value::ofBool(truthOf(a) || truthOf(b));
    case kXor:
        return Value::ofBool(truthOf(a) != truthOf(b));
    default:
        return Value::ofText({});
    }
}

// ---------------------------------------------------------------- tokens

enum class TokenKind { End, Number, Text, Name, Function, LeftParen, RightParen, Comma, Operator, Not, Bad };

struct Token {
    TokenKind kind = TokenKind::End;
    Op op = kAdd;               // Operator
    double number = 0;          // Number
    std::string text;           // Text (the literal's value), Name (upper-cased), Function (upper-cased)
};

class Lexer {
public:
    explicit Lexer(std::string_view source) : source_(source) {}

    Token next() {
        while (pos_ < source_.size() && isBlank(source_[pos_])) ++pos_;
        Token token;
        if (pos_ >= source_.size()) return token;
        const char c = source_[pos_];
        if (isDigit(c) || (c == '.' && pos_ + 1 < source_.size() && isDigit(source_[pos_ + 1]))) return number();
        if (c == '\'' || c == '"') return text(c);
        if (isNameStart(c)) return name();
        ++pos_;
        switch (c) {
        case '(': token.kind = TokenKind::LeftParen; return token;
        case ')': token.kind = TokenKind::RightParen; return token;
        case ',': token.kind = TokenKind::Comma; return token;
        case '+': return op(kAdd);
        case '-': return op(kSubtract);
        case '*': return op(kMultiply);
        case '/': return op(kDivide);
        case '%': return op(kModulus);
        case '^': return op(kPower);
        case '&': return op(kConcat);
        case '<':
            if (take('>')) return op(kNotEqual);
            if (take('=')) return op(kLessEqual);
            return op(kLess);
        case '>':
            if (take('=')) return op(kGreaterEqual);
            return op(kGreater);
        case '=':
            if (take('<')) return op(kLessEqual);
            if (take('>')) return op(kGreaterEqual);
            return op(kEqual);
        case '~':
            if (take('=')) return op(kNotEqual);
            if (take('<')) return op(kGreaterEqual);
            if (take('>')) return op(kLessEqual);
            token.kind = TokenKind::Not;
            return token;
        case '!':
            if (take('=')) return op(kNotEqual);
            break;
        default:
            break;
        }
        token.kind = TokenKind::Bad;
        return token;
    }

private:
    bool take(char c) {
        if (pos_ < source_.size() && source_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    static Token op(Op o) {
        Token token;
        token.kind = TokenKind::Operator;
        token.op = o;
        return token;
    }

    Token number() {
        const std::size_t start = pos_;
        while (pos_ < source_.size() && isDigit(source_[pos_])) ++pos_;
        if (pos_ < source_.size() && source_[pos_] == '.') {
            ++pos_;
            while (pos_ < source_.size() && isDigit(source_[pos_])) ++pos_;
        }
        Token token;
        // "12abc" or "1.2.3" is no number followed by something else.
        if (pos_ < source_.size() && (isNamePart(source_[pos_]) || source_[pos_] == '.')) {
            token.kind = TokenKind::Bad;
            return token;
        }
        double value = 0;
        const char* first = source_.data() + start;
        const char* last = source_.data() + pos_;
        auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
        if (ec != std::errc() || ptr != last || !std::isfinite(value)) {
            token.kind = TokenKind::Bad;
            return token;
        }
        token.kind = TokenKind::Number;
        token.number = value;
        token.text.assign(first, last);  // the written digits, for exact comparisons
        return token;
    }

    Token text(char quote) {
        ++pos_;
        Token token;
        while (pos_ < source_.size()) {
            const char c = source_[pos_++];
            if (c != quote) {
                token.text += c;
                continue;
            }
            if (pos_ < source_.size() && source_[pos_] == quote) {  // doubled quote
                token.text += quote;
                ++pos_;
                continue;
            }
            token.kind = TokenKind::Text;
            if (token.text.size() > kMaxTextLength) token.text.resize(kMaxTextLength);
            return token;
        }
        token.kind = TokenKind::Bad;  // no closing quote
        token.text.clear();
        return token;
    }

    Token name() {
        const std::size_t start = pos_;
        while (pos_ < source_.size() && isNamePart(source_[pos_])) ++pos_;
        Token token;
        token.text = asciiUpper(source_.substr(start, pos_ - start));
        if (token.text == "AND") return op(kAnd);
        if (token.text == "OR") return op(kOr);
        if (token.text == "XOR") return op(kXor);
        if (token.text == "NOT") {
            token.kind = TokenKind::Not;
            return token;
        }
        std::size_t after = pos_;
        while (after < source_.size() && isBlank(source_[after])) ++after;
        token.kind = after < source_.size() && source_[after] == '(' ? TokenKind::Function : TokenKind::Name;
        return token;
    }

    std::string_view source_;
    std::size_t pos_ = 0;
};

// Binding strength of the binary operators; higher binds tighter. NOT sits
// between AND and the comparisons.
constexpr int kNotPrecedence = 3;

int precedence(Op op) {
    switch (op) {
    case kOr:
    case kXor:
        return 1;
    case kAnd:
        return 2;
    case kEqual:
    case kNotEqual:
    case kLess:
    case kGreater:
    case kLessEqual:
    case kGreaterEqual:
        return 4;
    case kConcat:
        return 5;
    case kAdd:
    case kSubtract:
        return 6;
    case kMultiply:
    case kDivide:
    case kModulus:
        return 7;
    case kPower:
        return 8;
    default:
        return 0;
    }
}

}  // namespace

// ---------------------------------------------------------------- compiler

// Precedence climbing over the token stream, emitting postfix steps. Recursion
// goes through parseOperand once per bracket, call or unary operator, and that
// depth is limited.
class ExpressionCompiler {
public:
    ExpressionCompiler(std::string_view source, Expression& out) : lexer_(source), out_(out) { advance(); }

    int run() {
        parseBinary(1);
        if (error_ == kExpressionOk && token_.kind != TokenKind::End) fail(kExpressionSyntaxError);
        return error_;
    }

private:
    void advance() { token_ = lexer_.next(); }

    void fail(int error) {
        if (error_ == kExpressionOk) error_ = error;
    }

    void emit(Op op, std::uint32_t operand = 0, std::uint8_t argCount = 0) {
        out_.steps_.push_back(Expression::Step{op, argCount, operand});
    }

    void parseBinary(int minPrecedence) {
        parseOperand();
        while (error_ == kExpressionOk && token_.kind == TokenKind::Operator) {
            const Op op = token_.op;
            const int prec = precedence(op);
            if (prec < minPrecedence) return;
            advance();
            parseBinary(prec + 1);
            emit(op);
        }
    }

    void parseOperand() {
        if (error_ != kExpressionOk) return;
        if (++depth_ > kMaxNestingDepth) {
            fail(kExpressionSyntaxError);
            return;
        }
        parseOperandAtDepth();
        --depth_;
    }

    void parseOperandAtDepth() {
        switch (token_.kind) {
        case TokenKind::Not:
            advance();
            parseBinary(kNotPrecedence + 1);
            emit(kNot);
            return;
        case TokenKind::Operator:
            if (token_.op == kSubtract || token_.op == kAdd) {
                const Op unary = token_.op == kSubtract ? kNegate : kToNumber;
                advance();
                parseOperand();
                emit(unary);
                return;
            }
            fail(kExpressionSyntaxError);
            return;
        case TokenKind::Number:
            emit(kPushNumber, static_cast<std::uint32_t>(out_.numberTexts_.size()));
            out_.numberTexts_.push_back(std::move(token_.text));
            advance();
            return;
        case TokenKind::Text:
            emit(kPushText, static_cast<std::uint32_t>(out_.texts_.size()));
            out_.texts_.push_back(std::move(token_.text));
            advance();
            return;
        case TokenKind::Name:
            emit(kPushName, static_cast<std::uint32_t>(out_.texts_.size()));
            out_.texts_.push_back(std::move(token_.text));
            advance();
            return;
        case TokenKind::Function:
            parseCall();
            return;
        case TokenKind::LeftParen:
            advance();
            parseBinary(1);
            if (error_ != kExpressionOk) return;
            if (token_.kind != TokenKind::RightParen) {
                fail(kExpressionSyntaxError);
                return;
            }
            advance();
            return;
        default:
            fail(kExpressionSyntaxError);
            return;
        }
    }

    void parseCall() {
        const std::string name = std::move(token_.text);
        advance();  // the name
        advance();  // '('
        int count = 0;
        if (token_.kind != TokenKind::RightParen) {
            for (;;) {
                parseBinary(1);
                if (error_ != kExpressionOk) return;
                ++count;
                if (token_.kind == TokenKind::Comma) {
                    advance();
                    continue;
                }
                break;
            }
            if (token_.kind != TokenKind::RightParen) {
                fail(kExpressionSyntaxError);
                return;
            }
        }
        advance();  // ')'
        const FunctionInfo* info = nullptr;
        for (const FunctionInfo& f : kFunctions) {
            if (name == f.name) info = &f;
        }
        if (info == nullptr || count < info->minArgs || count > info->maxArgs) {
            fail(kExpressionBadFunction);
            return;
        }
        emit(kCall, info->id, static_cast<std::uint8_t>(count));
    }

    Lexer lexer_;
    Expression& out_;
    Token token_;
    int depth_ = 0;
    int error_ = kExpressionOk;
};

Expression::Expression() = default;

Expression Expression::compile(std::string_view text) noexcept {
    Expression expression;
    try {
        if (text.size() > kMaxExpressionLength) return expression;
        ExpressionCompiler compiler(text, expression);
        expression.compileError_ = compiler.run();
    } catch (...) {  // out of memory
        expression.compileError_ = kExpressionSyntaxError;
    }
    if (expression.compileError_ != kExpressionOk) {
        expression.steps_.clear();
        expression.numberTexts_.clear();
        expression.texts_.clear();
    }
    return expression;
}

ExpressionResult Expression::evaluate(const NameResolver& names) const noexcept {
    if (compileError_ != kExpressionOk) return {{}, compileError_};
    try {
        std::vector<Value> stack;
        stack.reserve(16);
        for (const Step& step : steps_) {
            switch (step.op) {
            case kPushNumber:
                stack.push_back(Value::ofExactNumber(numberTexts_[step.operand]));
                break;
            case kPushText:
                stack.push_back(Value::ofText(texts_[step.operand]));
                break;
            case kPushName: {
                std::optional<BoundValue> value;
                try {
                    value = names.boundValue(texts_[step.operand]);
                } catch (...) {
                    value.reset();
                }
                if (!value) return {{}, kExpressionUnknownName};
                stack.push_back(value->isNumber ? Value::ofExactNumber(std::move(value->text))
                                                : Value::ofText(std::move(value->text)));
                break;
            }
            case kNegate:
            case kToNumber:
            case kNot: {
                if (stack.empty()) return {{}, kExpressionSyntaxError};
                Value& top = stack.back();
                if (step.op == kNot) top = Value::ofBool(!truthOf(top));
                else top = Value::ofNumber(step.op == kNegate ? -numberOf(top) : numberOf(top));
                break;
            }
            case kCall: {
                const std::size_t count = step.argCount;
                if (stack.size() < count || count == 0) return {{}, kExpressionSyntaxError};
                Value* args = stack.data() + (stack.size() - count);
                Value result = callFunction(static_cast<Function>(step.operand), args, static_cast<int>(count));
                stack.resize(stack.size() - count);
                stack.push_back(std::move(result));
                break;
            }
            default: {
                if (stack.size() < 2) return {{}, kExpressionSyntaxError};
                Value result = binary(static_cast<Op>(step.op), stack[stack.size() - 2], stack.back());
                stack.pop_back();
                stack.back() = std::move(result);
                break;
            }
            }
        }
        if (stack.size() != 1) return {{}, kExpressionSyntaxError};
        return {textOf(stack.back()), kExpressionOk};
    } catch (...) {  // out of memory
        return {{}, kExpressionSyntaxError};
    }
}

std::vector<std::string> Expression::names() const {
    std::vector<std::string> out;
    if (!valid()) return out;
    for (const Step& step : steps_) {
        if (step.op != kPushName) continue;
        const std::string& name = texts_[step.operand];
        if (std::find(out.begin(), out.end(), name) == out.end()) out.push_back(name);
    }
    return out;
}

ExpressionResult evaluateExpression(std::string_view text, const NameResolver& names) noexcept {
    return Expression::compile(text).evaluate(names);
}

}  // namespace platform
