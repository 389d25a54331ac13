// The organisation's requisites that the staff documents print: section "KELM"
// of the INI file the library's settings live in (g_IniFileName: ".\TARVO.INI"
// under the program, ".\Dostup.ini" when the library runs on its own). Every key
// defaults to an empty text but "ShopName", which defaults to a sample name;
// values are cut to their widths.
#pragma once

#include <string>

namespace staffdocs {

// The default of "ShopName" (code page 1251).
std::string defaultShopName();

struct Requisites {
    std::string shopName;   // 80; the travel certificate shows 50
    std::string adress;     // 80; the power of attorney shows 60
    std::string adress2;    // 80
    std::string phone;      // 40
    std::string fax;        // 20
    std::string director;   // 35
    std::string glavBuch;   // 35
    std::string schet;      // 20
    std::string bank;       // 80
    std::string bik;        // 20
    std::string inn;        // 20
    std::string okpo;       // 20
    std::string okonx;      // 20
    std::string korSchet;   // 22: "KSchet", the correspondent account after " к/c "
    std::string logoFile;   // picture of the logo; empty shows none
};

// Reads the section now, from the INI file named by g_IniFileName.
Requisites readRequisites();

// The system path of the logo picture for the report engine: empty when the key
// is empty.
std::string logoPath(const std::string& logoFile);

}  // namespace staffdocs
