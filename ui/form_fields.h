// What the parts of the form window share (form_window.cpp, the window and its
// events; form_controls.cpp, the controls built from the declaration): the
// measures of an entry, the indicator pictures and the forms now running.
#pragma once

#include "framework/form/form_definition.h"

#include <QPixmap>
#include <QString>

#include <string>
#include <vector>

namespace storage {
class Record;
}

namespace ui {

class FormWindow;

namespace form_fields {

// Entries up to this many characters wide keep a width that fits their picture;
// wider ones grow with the window.
constexpr int kFixedEntryChars = 30;
constexpr int kWideEntryChars = 40;

std::vector<FormWindow*>& runningForms();
bool isNumeric(const framework::form::FormField& field);
// The indicator pictures of a form: "check" a green tick, anything else a red cross.
QPixmap indicatorPixmap(const std::string& kind, int size);
// The characters an entry shows: its picture's width, else its field's size.
int pictureChars(const framework::form::FormField& field, const storage::Record& record);
QString trimmedBlanks(QString text, bool leading);

}  // namespace form_fields
}  // namespace ui
