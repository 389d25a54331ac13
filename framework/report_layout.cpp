#include "framework/report_layout.h"

#include "platform/cp1251.h"
#include "platform/picture.h"

#include <utility>

namespace framework::report {

Item text(Box box, std::string cp1251, Align align) {
    Item item;
    item.kind = Item::Kind::Text;
    item.box = box;
    item.text = std::move(cp1251);
    item.align = align;
    return item;
}

Item field(Box box, std::string picture, ValueGetter value, Align align) {
    Item item;
    item.kind = Item::Kind::Field;
    item.box = box;
    item.picture = std::move(picture);
    item.value = std::move(value);
    item.align = align;
    return item;
}

Item pageNumber(Box box, std::string picture, Align align) {
    Item item;
    item.kind = Item::Kind::PageNumber;
    item.box = box;
    item.picture = std::move(picture);
    item.align = align;
    return item;
}

Item checkBox(Box box, std::function<bool()> checked, std::string cp1251) {
    Item item;
    item.kind = Item::Kind::CheckBox;
    item.box = box;
    item.checked = std::move(checked);
    item.text = std::move(cp1251);
    item.align = Align::Left;
    return item;
}

Item image(Box box, std::function<std::string()> file) {
    Item item;
    item.kind = Item::Kind::Image;
    item.box = box;
    item.imageFile = std::move(file);
    return item;
}

Item line(Box box) {
    Item item;
    item.kind = Item::Kind::Line;
    item.box = box;
    return item;
}

Item frame(Box box) {
    Item item;
    item.kind = Item::Kind::Frame;
    item.box = box;
    return item;
}

std::string itemText(const Item& item, int page) {
    switch (item.kind) {
        case Item::Kind::Text:
        case Item::Kind::CheckBox:
            return item.text;
        case Item::Kind::PageNumber:
            return platform::format(platform::Picture(item.picture), page);
        case Item::Kind::Field: {
            if (!item.value) return {};
            const platform::Picture picture(item.picture);
            const Value value = item.value();
            std::string shown = std::visit(
                [&](const auto& v) -> std::string {
                    using T = std::decay_t<decltype(v)>;
                    if constexpr (std::is_same_v<T, std::string>)
                        return platform::format(picture, std::string_view(v));
                    else
                        return platform::format(picture, v);
                },
                value);
            // Trailing blanks of a text picture take no room on paper.
            if (picture.kind() == platform::PictureKind::Text)
                shown = std::string(platform::clip(shown));
            return shown;
        }
        case Item::Kind::Image:
        case Item::Kind::Line:
        case Item::Kind::Frame:
            break;
    }
    return {};
}

Align effectiveAlign(const Item& item) {
    if (item.align != Align::Auto) return item.align;
    if (item.kind == Item::Kind::Field &&
        platform::Picture(item.picture).alignment() == platform::Alignment::Right)
        return Align::Right;
    return Align::Left;
}

}  // namespace framework::report
