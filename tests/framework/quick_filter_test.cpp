// A list filter decided on the record itself must say what the expression
// evaluator says, for every record; a filter of any other shape is left to the
// evaluator.
#include "framework/browse/quick_filter.h"
#include "framework/record_binding.h"
#include "platform/expression.h"
#include "storage/record.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace browse_tests {
namespace {

const storage::RecordLayout& layout() {
    static const storage::RecordLayout l = [] {
        storage::RecordLayout r("Item", "ITM", "Item", "");
        r.uint16("CODE").int32("BALANCE").cstring("NAME", 21).real("PRICE");
        return r;
    }();
    return l;
}

TEST(QuickFilter, DecidesAsTheEvaluatorDoes) {
    const char* const quick[] = {
        "(itm:Code>0)", "ITM:CODE = 7", "itm:code<>7", "  ( ( itm:Balance >= -3 ) ) ", "itm:balance<=+5",
        "itm:Code<65535", "itm:Balance>-2147483648",
    };
    const char* const evaluated[] = {
        "itm:Name>0",             // a text field
        "itm:Price>0",            // a real field
        "itm:Code>0.5",           // not a whole number
        "itm:Code>1e3",           // an exponent
        "itm:Code>'0'",           // a text literal
        "itm:Code>0 AND itm:Balance>0",
        "NOT itm:Code>0",
        "(itm:Code>0) OR (itm:Code=0)",
        "itm:Code=>0",            // another spelling of >=
        "itm:Code~=0",
        "loc:Code>0",             // another record's field
        "brw1::itm:Code>0",
        "itm:Unknown>0",
        "itm:Code>",
        "itm:Code>99999999999999999999",
    };
    const std::int64_t codes[] = {0, 1, 6, 7, 8, 65535};
    const std::int64_t balances[] = {-2147483648LL, -4, -3, 0, 5, 6, 2147483647};
    storage::Record record(layout());
    const framework::RecordBinding names(record);
    for (const char* text : quick) {
        SCOPED_TRACE(text);
        const auto filter = framework::browse::QuickFilter::of(text, layout());
        ASSERT_TRUE(filter.has_value());
        const platform::Expression expression = platform::Expression::compile(text);
        ASSERT_TRUE(expression.valid());
        for (std::int64_t code : codes)
            for (std::int64_t balance : balances) {
                record.setInt("ITM:CODE", code);
                record.setInt("ITM:BALANCE", balance);
                const platform::ExpressionResult result = expression.evaluate(names);
                ASSERT_TRUE(result.ok());
                EXPECT_EQ(filter->accepts(record), result.text == "1") << code << " " << balance;
            }
    }
    for (const char* text : evaluated)
        EXPECT_FALSE(framework::browse::QuickFilter::of(text, layout()).has_value()) << text;
}

}  // namespace
}  // namespace browse_tests
