#include "demo/sample_logins.h"

namespace demo {

const std::vector<SampleLogin>& sampleLogins() {
    static const std::vector<SampleLogin> logins = {
        {1, "sokolov", "admin"},   // the director, category "Администраторы"
        {2, "belova", "kommerc"},  // the commercial director, "Администраторы" too
        {3, "gusev", "sysadm"},    // the system administrator, "Администраторы" too
        {15, "smirnova", "kassa"},  // a cashier of the shop on Sadovaya, "Менеджеры и продавцы"
        {20, "petrov", "sklad"},    // the head of the central store, "Кладовщики"
    };
    return logins;
}

}  // namespace demo
