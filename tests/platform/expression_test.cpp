#include "platform/expression.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/cp1251.h"

namespace {

using platform::Expression;
using platform::NameBindings;
using platform::ru;

const NameBindings kNoNames;

std::string eval(const std::string& text, const platform::NameResolver& names = kNoNames) {
    const platform::ExpressionResult result = platform::evaluateExpression(text, names);
    EXPECT_EQ(result.error, 0) << text;
    return result.text;
}

int errorOf(const std::string& text, const platform::NameResolver& names = kNoNames) {
    const platform::ExpressionResult result = platform::evaluateExpression(text, names);
    EXPECT_TRUE(result.text.empty()) << text;
    return result.error;
}

TEST(Expression, LiteralsAndNumberFormatting) {
    EXPECT_EQ(eval("12"), "12");
    EXPECT_EQ(eval("2.50"), "2.5");
    EXPECT_EQ(eval(".5"), "0.5");
    EXPECT_EQ(eval("007"), "7");
    EXPECT_EQ(eval("'O''Neil'"), "O'Neil");
    EXPECT_EQ(eval("\"say \"\"hi\"\"\""), "say \"hi\"");
    EXPECT_EQ(eval("'it''s' & \"'\""), "it's'");
    EXPECT_EQ(eval("''"), "");
    EXPECT_EQ(eval("'  padded  '"), "  padded  ");
    EXPECT_EQ(eval("0.1 + 0.2"), "0.3");
    EXPECT_EQ(eval("1 / 3"), "0.333333333333333");
    EXPECT_EQ(eval("-1 / 4"), "-0.25");
    EXPECT_EQ(eval("100000 * 100000 * 100000 * 100000"), "100000000000000000000");
    EXPECT_EQ(eval("0.00001 * 1.5"), "0.000015");
    EXPECT_EQ(eval("-0"), "0");
}

TEST(Expression, ArithmeticAndConcatenation) {
    EXPECT_EQ(eval("2 + 3 * 4"), "14");
    EXPECT_EQ(eval("(2 + 3) * 4"), "20");
    EXPECT_EQ(eval("10 - 4 - 3"), "3");
    EXPECT_EQ(eval("7 / 2"), "3.5");
    EXPECT_EQ(eval("7 % 3"), "1");
    EXPECT_EQ(eval("-7 % 3"), "-1");
    EXPECT_EQ(eval("2 ^ 10"), "1024");
    EXPECT_EQ(eval("-2 ^ 2"), "4");
    EXPECT_EQ(eval("- -3 + +2"), "5");
    EXPECT_EQ(eval("'12' + ' 3 '"), "15");
    EXPECT_EQ(eval("'abc' + 1"), "1");
    EXPECT_EQ(eval("-'5'"), "-5");
    EXPECT_EQ(eval("1 + 2 & 3 + 4"), "37");
    EXPECT_EQ(eval("'a' & 1.50 & 'b'"), "a1.5b");
    // The runtime's behaviour for impossible arithmetic: 0, never a failure.
    EXPECT_EQ(eval("5 / 0"), "0");
    EXPECT_EQ(eval("5 % 0"), "0");
    EXPECT_EQ(eval("10 ^ 400"), "0");
    EXPECT_EQ(eval("(-8) ^ 0.5"), "0");
}

TEST(Expression, NamesIgnoreCaseAndKeepTheirText) {
    NameBindings names;
    names.bindText("mol:SCode", "17");
    names.bindText("BRW1::Sort1:Reset:Val:Obozn", "USD  ");
    names.bindText("Report:Save::MOL:SCode", "17");
    names.bindText("BRW1::MARK", "0");
    names.bindText("loc:Otd_ID", "3");
    EXPECT_EQ(eval("MOL:SCODE", names), "17");
    EXPECT_EQ(eval("brw1::sort1:reset:val:obozn", names), "USD  ");
    EXPECT_EQ(eval("MOL:SCode = Report:Save::MOL:SCode", names), "1");
    EXPECT_EQ(eval("brw1::Mark + LOC:otd_id", names), "3");
    EXPECT_TRUE(names.isBound("Loc:Otd_Id"));

    names.unbind("LOC:OTD_ID");
    EXPECT_EQ(errorOf("loc:Otd_ID", names), platform::kExpressionUnknownName);
    EXPECT_EQ(errorOf("MOL:SCode", kNoNames), platform::kExpressionUnknownName);
    // The name is reported even when the other side already decides the result.
    EXPECT_EQ(errorOf("0 AND nobody", names), platform::kExpressionUnknownName);
    names.bindText("mol:SCode", "18");  // binding again replaces
    EXPECT_EQ(eval("mol:SCode", names), "18");
}

TEST(Expression, CompiledExpressionReadsCurrentValues) {
    std::string code;
    NameBindings names;
    names.bind("mlo:SCode", [&] { return code; });
    names.bindText("BRW9::Sort1:Reset:MOL:SCode", "42");
    const Expression filter = Expression::compile("mlo:SCode = BRW9::Sort1:Reset:MOL:SCode");
    ASSERT_TRUE(filter.valid());
    const Expression copy = filter;
    code = "41";
    EXPECT_EQ(filter.evaluate(names).text, "0");
    code = "42";
    EXPECT_EQ(filter.evaluate(names).text, "1");
    EXPECT_EQ(copy.evaluate(names).text, "1");

    const Expression broken = Expression::compile("mlo:SCode = ");
    EXPECT_EQ(broken.compileError(), platform::kExpressionSyntaxError);
    EXPECT_EQ(broken.evaluate(names).error, platform::kExpressionSyntaxError);
    EXPECT_EQ(Expression().evaluate(names).error, platform::kExpressionSyntaxError);
}

TEST(Expression, ResolverChainAsksInTurn) {
    NameBindings locals;
    NameBindings fields;
    locals.bindText("loc:Type", "local");
    fields.bindText("loc:Type", "shadowed");
    fields.bindText("obj:Type", "field");
    const platform::ResolverChain chain{&locals, &fields};
    EXPECT_EQ(eval("loc:Type & obj:Type", chain), "localfield");
    EXPECT_EQ(errorOf("obj:Name", chain), platform::kExpressionUnknownName);
}

TEST(Expression, ComparisonsNumericOrPaddedText) {
    EXPECT_EQ(eval("'10' > '9'"), "0");  // two texts compare as texts, digits or not
    EXPECT_EQ(eval("10 > '9'"), "1");    // a number makes it numeric
    EXPECT_EQ(eval("'10' > '9x'"), "0");  // text order
    EXPECT_EQ(eval("' 5 ' = 5"), "1");
    EXPECT_EQ(eval("'1.0' = '1'"), "0");
    EXPECT_EQ(eval("'1.0' = 1"), "1");
    EXPECT_EQ(eval("'-2.5e1' = -25"), "1");
    EXPECT_EQ(eval("5 = 'abc'"), "0");
    EXPECT_EQ(eval("'ab  ' = 'ab'"), "1");
    EXPECT_EQ(eval("' ab' = 'ab'"), "0");
    EXPECT_EQ(eval("'a' = 'A'"), "0");
    EXPECT_EQ(eval("'abc' < 'abd'"), "1");
    EXPECT_EQ(eval("'ab' > 'ab\x01'"), "1");  // padding blank sorts above control characters
    EXPECT_EQ(eval(ru("'а' < 'я' AND 'я' > 'z' AND 'Ж' < 'ж'")), "1");
    EXPECT_EQ(eval("1 <> 2") + eval("1 ~= 1") + eval("1 != 2") + eval("2 =< 2") + eval("1 => 2"), "10110");
    EXPECT_EQ(eval("1 ~< 2") + eval("1 ~> 2") + eval("2 <= 1") + eval("2 >= 2"), "0101");

    NameBindings names;
    names.bindText("obj:Type", ru("Справочник  "));
    names.bindText("loc:Type", ru("Справочник"));
    EXPECT_EQ(eval("(obj:Type=loc:Type)", names), "1");
}

TEST(Expression, LogicPrecedenceNotAndOr) {
    EXPECT_EQ(eval("1 OR 1 AND 0"), "1");   // AND before OR
    EXPECT_EQ(eval("NOT 0 AND 0"), "0");    // NOT before AND
    EXPECT_EQ(eval("NOT 1 = 2"), "1");      // NOT after the comparison
    EXPECT_EQ(eval("not 1 or 1"), "1");
    EXPECT_EQ(eval("~1 Or 0"), "0");
    EXPECT_EQ(eval("NOT(NOT(1))"), "1");
    EXPECT_EQ(eval("1 XOR 1") + eval("1 xor 0"), "01");
    EXPECT_EQ(eval("'abc' AND 1") + eval("'   ' OR 0") + eval("'0' OR '0.0'") + eval("' 2 ' AND 3"), "1001");
    EXPECT_EQ(eval("1 = 1 AND 2 > 1 OR 'a' = 'b'"), "1");
    EXPECT_EQ(eval("1 + 1 = 2"), "1");
}

TEST(Expression, Functions) {
    EXPECT_EQ(eval(ru("UPPER('иванов ёж')")), ru("ИВАНОВ ЁЖ"));
    EXPECT_EQ(eval(ru("lower('ПЕТРОВ Abc')")), ru("петров abc"));
    NameBindings names;
    names.bindText("Kur:Valut", "usd  ");
    names.bindText("BRW1::Sort1:Reset:Val:Obozn", "USD");
    EXPECT_EQ(eval("UPPER(Kur:Valut) = UPPER(BRW1::Sort1:Reset:Val:Obozn)", names), "1");
    EXPECT_EQ(eval("'[' & Clip('ab  ') & ']'"), "[ab]");
    EXPECT_EQ(eval("LEFT('  ab')"), "ab  ");
    EXPECT_EQ(eval("LEFT('  ab', 6)") + eval("LEFT('abc', 2)") + eval("LEFT('abc', -1)"), "ab    ab");
    EXPECT_EQ(eval("LEN('ab  ')") + eval("len(clip('ab  '))") + eval("LEN(12.5)"), "424");
    EXPECT_EQ(eval("SUB('abcdef', 2, 3)"), "bcd");
    EXPECT_EQ(eval("SUB('abc', -2, 2)") + "|" + eval("SUB('abc', 0, 2)") + "|" + eval("SUB('abc', 2, 99)"), "bc|a|bc");
    EXPECT_EQ(eval("SUB('abc', 5, 1)") + eval("SUB('abc', 1, 0)") + eval("SUB('abc', 100000000000000000000, 1)"), "");
    EXPECT_EQ(eval("INSTRING('DEF', 'ABCDEFGHIJ')"), "4");
    EXPECT_EQ(eval("INSTRING('DEF', 'ABCDEFGHIJ', 3, 1)"), "2");  // step number
    EXPECT_EQ(eval("INSTRING('C', 'ABCABC', 1, 4)"), "6");
    EXPECT_EQ(eval("INSTRING('X', 'ABC')") + eval("INSTRING('', 'ABC')") + eval("INSTRING('ABCD', 'ABC')"), "000");
    EXPECT_EQ(eval("INSTRING('B', 'ABC', 0, -5)"), "2");
    EXPECT_EQ(eval("ABS(-2.5)") + "|" + eval("INT(-2.7)") + "|" + eval("Int('9.9')"), "2.5|-2|9");
    EXPECT_EQ(eval("ROUND(2.675, 0.01)") + "|" + eval("ROUND(1250, 100)") + "|" + eval("ROUND(-2.5, 1)"), "2.68|1300|-3");
    EXPECT_EQ(eval("ROUND(7, 0)"), "7");
}

TEST(Expression, ErrorsGiveEmptyResultAndCode) {
    for (const char* text : {"", "   ", "1 +", "(1", "1)", "'open", "\"open", "1 2", "a b", "1..2", "12abc",
                             "UPPER('a'", "UPPER('a',)", "* 3", "1 = = 2", "!1", "#", "AND", "NOT",
                             "mol:SCode >", ",", "()", "1 \x01 2"}) {
        EXPECT_EQ(errorOf(text), platform::kExpressionSyntaxError) << text;
    }
    EXPECT_EQ(errorOf(ru("имя = 1")), platform::kExpressionSyntaxError);
    for (const char* text : {"FOO(1)", "mol:SCode(1)", "UPPER()", "UPPER('a', 'b')", "SUB('abc', 1)",
                             "INSTRING('a')", "INSTRING('a','b',1,1,1)", "ROUND(1)", "LEFT('a',1,2)"}) {
        EXPECT_EQ(errorOf(text), platform::kExpressionBadFunction) << text;
    }
    // Syntax is checked before any name is looked up.
    EXPECT_EQ(errorOf("nobody = "), platform::kExpressionSyntaxError);
    EXPECT_EQ(errorOf("UPPER"), platform::kExpressionUnknownName);

    const std::string depthOk = std::string(platform::kMaxNestingDepth - 1, '(') + "1" +
                                std::string(platform::kMaxNestingDepth - 1, ')');
    EXPECT_EQ(eval(depthOk), "1");
    EXPECT_EQ(errorOf(std::string(platform::kMaxNestingDepth + 1, '(') + "1" +
                      std::string(platform::kMaxNestingDepth + 1, ')')),
              platform::kExpressionSyntaxError);
    EXPECT_EQ(errorOf(std::string(300, '-') + "1"), platform::kExpressionSyntaxError);
    EXPECT_EQ(errorOf("1" + std::string(platform::kMaxExpressionLength, ' ')), platform::kExpressionSyntaxError);
    // A long flat chain is neither nested nor recursive.
    std::string chain = "0";
    while (chain.size() + 4 < platform::kMaxExpressionLength) chain += " + 1";
    EXPECT_EQ(eval(chain), std::to_string((chain.size() - 1) / 4));
    // Texts stay bounded whatever the expression asks for.
    EXPECT_EQ(eval("LEN(LEFT('a', 1000000000000) & LEFT('b', 1000000000000))"), std::to_string(platform::kMaxTextLength));
}

// ---------------------------------------------------------------- randomized

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    // Well-formed over bound names only; flags say which error a variant must give.
    std::string wellFormed(int depth) {
        static const char* const kLeaves[] = {"0", "1", "12", "2.5", "-3", "'abc'", "'  x '", "''",
                                              "'7'", "mol:SCode", "LOC:TABL", "BRW1::Sort1:Reset:Val:Obozn"};
        static const char* const kBinary[] = {"+", "-", "*", "/", "%", "&", "=", "<>", "<", ">",
                                              "<=", ">=", " AND ", " or ", " Xor ", "^"};
        static const char* const kUnary[] = {"UPPER", "lower", "CLIP", "LEN", "ABS", "INT", "LEFT", "NOT ", "-"};
        if (depth <= 0 || pick(4) == 0) return kLeaves[pick(std::size(kLeaves))];
        switch (pick(5)) {
        case 0:
            return "(" + wellFormed(depth - 1) + ")";
        case 1:
            return std::string(kUnary[pick(std::size(kUnary))]) + "(" + wellFormed(depth - 1) + ")";
        case 2:
            return "SUB(" + wellFormed(depth - 1) + "," + wellFormed(depth - 1) + "," + wellFormed(depth - 1) + ")";
        case 3:
            return "INSTRING(" + wellFormed(depth - 1) + "," + wellFormed(depth - 1) + ")";
        default:
            return wellFormed(depth - 1) + kBinary[pick(std::size(kBinary))] + wellFormed(depth - 1);
        }
    }

    std::string soup() {
        static const char* const kTokens[] = {"(", ")", ",", "'", "\"", "''", "1", "2.5", ".", "-", "+", "*",
                                              "/", "%", "^", "&", "=", "<", ">", "~", "!", "NOT", "AND", "OR",
                                              "UPPER(", "SUB(", "INSTRING(", "LEFT(", "ROUND(", "mol:SCode",
                                              "x:", "::", "'a'", " ", "\x01", "\xE0", "1e", "0"};
        std::string text;
        const int count = pick(30);
        for (int i = 0; i < count; ++i) text += kTokens[pick(std::size(kTokens))];
        return text;
    }

private:
    std::mt19937 random_;
};

void expectContract(const std::string& text, const platform::NameResolver& names) {
    const platform::ExpressionResult once = platform::evaluateExpression(text, names);
    const platform::ExpressionResult again = Expression::compile(text).evaluate(names);
    ASSERT_TRUE(once.error == 0 || once.error == 800 || once.error == 801 || once.error == 802) << text;
    ASSERT_TRUE(once.error == 0 || once.text.empty()) << text;
    ASSERT_EQ(once.error, again.error) << text;
    ASSERT_EQ(once.text, again.text) << text;
    ASSERT_LE(once.text.size(), platform::kMaxTextLength) << text;
}

TEST(ExpressionRandomized, TokenSoupAndWellFormedInputsKeepTheContract) {
    NameBindings names;
    names.bindText("mol:SCode", "17");
    names.bindText("loc:Tabl", "MOL_t               ");
    names.bindText("BRW1::Sort1:Reset:Val:Obozn", ru("Руб  "));
    Generator generator(20240611);
    for (int i = 0; i < 10000; ++i) expectContract(generator.soup(), names);

    for (int i = 0; i < 10000; ++i) {
        const std::string text = generator.wellFormed(5);
        const platform::ExpressionResult result = platform::evaluateExpression(text, names);
        ASSERT_EQ(result.error, 0) << text;
        expectContract(text, names);
        // Brackets change nothing; a value equals itself; a comparison is 0 or 1.
        ASSERT_EQ(eval("(" + text + ")", names), result.text) << text;
        ASSERT_EQ(eval("(" + text + ") = (" + text + ")", names), "1") << text;
        const std::string negated = eval("NOT (" + text + ")", names);
        ASSERT_TRUE(negated == "0" || negated == "1") << text;
        // Each kind of damage gives its own error.
        ASSERT_EQ(errorOf("(" + text + ") & nobody:Here", names), platform::kExpressionUnknownName) << text;
        ASSERT_EQ(errorOf("NOSUCH(" + text + ")", names), platform::kExpressionBadFunction) << text;
        ASSERT_EQ(errorOf("(" + text, names), platform::kExpressionSyntaxError) << text;
    }
}

}  // namespace

// Accounts, INN, passport and telephone numbers are digit strings longer than a
// double holds exactly: two of them that differ in the last digit must differ.
TEST(Expression, LongDigitStringsCompareExactly) {
    EXPECT_EQ(eval("'40702810900000012345' = '40702810900000012346'"), "0");
    EXPECT_EQ(eval("'40702810900000012345' < '40702810900000012346'"), "1");
    EXPECT_EQ(eval("40702810900000012345 = 40702810900000012346"), "0");
    EXPECT_EQ(eval("40702810900000012345 < 40702810900000012346"), "1");
    EXPECT_EQ(eval("40702810900000012346 = '40702810900000012346'"), "1");
    EXPECT_EQ(eval("'-40702810900000012345' > -40702810900000012346"), "1");
    EXPECT_EQ(eval("0.10000000000000000001 > 0.1"), "1");
    EXPECT_EQ(eval("'007' = 7") + eval("'7.000' = 7") + eval("'-0' = 0") + eval("'1e3' = 1000"), "1111");
    EXPECT_EQ(eval("'0.001' < 0.01") + eval("100 > '99.999999999999999999'"), "11");

    NameBindings names;
    names.bindText("fir:SCHET", "40702810900000012345");
    names.bindText("loc:Schet", "40702810900000012346");
    names.bindNumber("loc:Code", [] { return std::string("12345678901234567891"); });
    EXPECT_EQ(eval("fir:SCHET = loc:Schet", names), "0");
    EXPECT_EQ(eval("fir:SCHET = '40702810900000012346'", names), "0");
    EXPECT_EQ(eval("fir:SCHET = '40702810900000012345'", names), "1");
    EXPECT_EQ(eval("loc:Code = 12345678901234567890", names), "0");
    EXPECT_EQ(eval("loc:Code > 12345678901234567890", names), "1");
    EXPECT_EQ(eval("loc:Code = '12345678901234567891'", names), "1");
}
