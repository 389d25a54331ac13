#include "demo/sample_logins.h"

namespace demo {

const std::vector<SampleLogin>& sampleLogins() {
    static const std::vector<SampleLogin> logins = {
        {1, "sokolov", "admin"},   // the director, category "Администраторы"
        {15, "smirnova", "kassa"},  // a cashier of the shop on Sadovaya, "Менеджеры и продавцы"
        {20, "petrov", "sklad"},    // the head of the central store, "Кладовщики"
    };
    return logins;
}

}  // namespace demo
