#include "shell/books.h"

#include "access/dostup.h"

#include "platform/cp1251.h"
#include "rates/rates_window.h"
#include "refbooks/c_firm.h"
#include "refbooks/c_kurs.h"
#include "refbooks/c_price.h"
#include "refbooks/c_store.h"
#include "refbooks/c_typeop.h"
#include "refbooks/c_valut.h"
#include "shell/main_frame.h"
#include "ui/book_windows.h"

#include <QMdiArea>

namespace shell {

void installBooks(MainFrame& frame) {
    using platform::ru;
    frame.setCommand(ru("Валюты"), [](QMdiArea* area) {
        ui::openList(
            refbooks::valutList([] { ui::runFormWindow(refbooks::valutForm()); },
                                [area] {
                                    // The rate history of the highlighted currency; the
                                    // currency list waits until it closes.
                                    ui::runList(refbooks::kursList([] {
                                                    ui::runFormWindow(refbooks::kursForm());
                                                }),
                                                area);
                                },
                                [area] { rates::runRatesWindow(area); }),
            area);
    });
    frame.setCommand(ru("Фирмы"), [](QMdiArea* area) {
        ui::openList(refbooks::firmList([] { ui::runFormWindow(refbooks::firmForm()); }), area);
    });
    frame.setCommand(ru("Цены"), [](QMdiArea* area) {
        ui::openList(refbooks::priceList([] { ui::runFormWindow(refbooks::priceForm()); }), area);
    });
    frame.setCommand(ru("Типы Операций"), [](QMdiArea* area) {
        ui::openList(refbooks::typeOpList([] { ui::runFormWindow(refbooks::typeOpForm()); }), area);
    });
    frame.setCommand(ru("Участки"), [](QMdiArea* area) {
        // The responsible employee is picked in the library's selection list.
        refbooks::StoreStaff staff{[]() -> std::uint16_t { return MOL_S(); },
                                   [](std::uint16_t code) { return std::string(GETMOL_SNAME(code)); }};
        ui::openList(refbooks::storeList([staff] { ui::runFormWindow(refbooks::storeForm(staff)); }),
                     area);
    });
    // The library's staff screens open in the frame they find active.
    frame.setCommand(ru("Сотрудники"), [](QMdiArea*) { MOL_T(); });
    frame.setCommand(ru("Подразделения"), [](QMdiArea*) { OTDMOL_T(); });
    frame.setCommand(ru("Категории"), [](QMdiArea*) { KATMOL_T(); });
    frame.setCommand(ru("Объекты"), [](QMdiArea*) { OBJECT_T(); });
}

}  // namespace shell
