// The names an expression is evaluated against: bindings of getters and texts,
// and chains of resolvers asked in turn.
#include "platform/expression.h"
#include "platform/expression_text.h"

namespace platform {

using expression_detail::asciiUpper;

void NameBindings::bind(std::string_view name, Getter getter) {
    const std::string key = asciiUpper(name);
    names_[key] = std::move(getter);
    numbers_.erase(key);
}

void NameBindings::bindText(std::string_view name, std::string text) {
    bind(name, [text = std::move(text)] { return text; });
}

void NameBindings::bindNumber(std::string_view name, Getter getter) {
    const std::string key = asciiUpper(name);
    names_[key] = std::move(getter);
    numbers_.insert(key);
}

std::optional<BoundValue> NameBindings::boundValue(std::string_view name) const {
    const std::string key = asciiUpper(name);
    const auto it = names_.find(key);
    if (it == names_.end() || !it->second) return std::nullopt;
    return BoundValue{it->second(), numbers_.count(key) != 0};
}

void NameBindings::unbind(std::string_view name) {
    const auto it = names_.find(asciiUpper(name));
    if (it != names_.end()) names_.erase(it);
    numbers_.erase(asciiUpper(name));
}

bool NameBindings::isBound(std::string_view name) const { return names_.find(asciiUpper(name)) != names_.end(); }

std::optional<std::string> NameBindings::value(std::string_view name) const {
    const auto it = names_.find(asciiUpper(name));
    if (it == names_.end() || !it->second) return std::nullopt;
    return it->second();
}

std::optional<std::string> ResolverChain::value(std::string_view name) const {
    for (const NameResolver* resolver : resolvers_) {
        if (resolver == nullptr) continue;
        if (std::optional<std::string> found = resolver->value(name)) return found;
    }
    return std::nullopt;
}

std::optional<BoundValue> ResolverChain::boundValue(std::string_view name) const {
    for (const NameResolver* resolver : resolvers_) {
        if (resolver == nullptr) continue;
        if (std::optional<BoundValue> found = resolver->boundValue(name)) return found;
    }
    return std::nullopt;
}

std::optional<BoundValue> NameResolver::boundValue(std::string_view name) const {
    std::optional<std::string> text = value(name);
    if (!text) return std::nullopt;
    return BoundValue{std::move(*text), false};
}

}  // namespace platform
