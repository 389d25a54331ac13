#include "staffdocs/requisites.h"

#include "access/dostup.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/ini_file.h"
#include "platform/paths.h"

#include <cstddef>

namespace staffdocs {

namespace {

constexpr const char* kSection = "KELM";

std::string readKey(const std::string& ini, const char* key, std::size_t width,
                    const std::string& defaultValue = {}) {
    return platform::readIni(kSection, key, defaultValue, ini).substr(0, width);
}

}  // namespace

std::string defaultShopName() { return platform::ru("ООО \"Торговый Дом\""); }

Requisites readRequisites() {
    const std::string ini = platform::readCString(g_IniFileName);
    Requisites r;
    r.shopName = readKey(ini, "ShopName", 80, defaultShopName());
    r.adress = readKey(ini, "Adress", 80);
    r.adress2 = readKey(ini, "Adress2", 80);
    r.phone = readKey(ini, "Phone", 40);
    r.fax = readKey(ini, "Fax", 20);
    r.director = readKey(ini, "Director", 35);
    r.glavBuch = readKey(ini, "GlavBuch", 35);
    r.schet = readKey(ini, "Schet", 20);
    r.bank = readKey(ini, "Bank", 80);
    r.bik = readKey(ini, "BIK", 20);
    r.inn = readKey(ini, "INN", 20);
    r.okpo = readKey(ini, "OKPO", 20);
    r.okonx = readKey(ini, "OKONX", 20);
    r.korSchet = readKey(ini, "KSchet", 22);
    r.logoFile = readKey(ini, "LogoFile", 260);
    return r;
}

std::string logoPath(const std::string& logoFile) {
    const std::string_view name = platform::clip(logoFile);
    if (name.empty()) return {};
    return platform::hostPath(name).string();
}

}  // namespace staffdocs
