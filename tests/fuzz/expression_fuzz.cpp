// libFuzzer target for the expression evaluator. The input up to the first line
// break is the expression; the rest is the value of the bound name V, so that the
// fuzzer also reaches the reading of numbers from bound text. Any crash, sanitizer
// report or broken result contract (an error always comes with an empty result,
// compiling once gives the same answer as evaluating directly) is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/expression.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = input.find('\n');
    const std::string_view text = input.substr(0, lineEnd);
    const std::string value(lineEnd == std::string_view::npos ? std::string_view() : input.substr(lineEnd + 1));

    platform::NameBindings names;
    names.bindText("V", value);
    names.bindText("mol:SCode", "17");
    names.bindText("loc:Tabl", "MOL_t               ");
    names.bindText("BRW1::Sort1:Reset:Val:Obozn", "USD  ");
    names.bind("Report:Save::MOL:SCode", [] { return std::string(20000, '7'); });

    const platform::ExpressionResult direct = platform::evaluateExpression(text, names);
    const platform::Expression compiled = platform::Expression::compile(text);
    const platform::ExpressionResult first = compiled.evaluate(names);
    const platform::ExpressionResult second = compiled.evaluate(names);

    check(direct.error == platform::kExpressionOk || direct.error == platform::kExpressionSyntaxError ||
          direct.error == platform::kExpressionUnknownName || direct.error == platform::kExpressionBadFunction);
    check(direct.error == platform::kExpressionOk || direct.text.empty());
    check(direct.text.size() <= platform::kMaxTextLength);
    check(direct.error == first.error && direct.text == first.text);
    check(first.error == second.error && first.text == second.text);
    check(compiled.valid() == (compiled.compileError() == platform::kExpressionOk));
    return 0;
}
