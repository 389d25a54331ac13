// The window "Курсы ЦБ" of the currency list: the day, the source (a file on
// disk or the address kept in TARVO.INI), a preview of every rate the load would
// write with its change against the current bank rate, then "Записать" or
// "Отменить". A period file of one currency names its currency in the window.
#pragma once

class QWidget;

namespace rates {

// Asks the rights first (the refusal is the list's message box); then runs the
// window modally. True when rates were written.
bool runRatesWindow(QWidget* parent);

}  // namespace rates
