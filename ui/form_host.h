// Where an update form opens. A list window announces itself as the host while
// it calls its book's form procedure; the form window opens in the host's MDI
// area (or top-level without one), centred over the calling list, and tells the
// host which window it is, so that the list can hand the activation on to it.
#pragma once

class QMdiArea;
class QWidget;

namespace ui {

struct FormHost {
    QMdiArea* area = nullptr;   // the frame's MDI area; nullptr: top-level windows
    QWidget* caller = nullptr;  // the calling list's outermost window
    QWidget* form = nullptr;    // the form's outermost window once it is open
};

// Pushes a host for the lifetime of the object; hosts nest with nested forms.
class FormHostScope {
public:
    FormHostScope(QMdiArea* area, QWidget* caller);
    ~FormHostScope();
    FormHostScope(const FormHostScope&) = delete;
    FormHostScope& operator=(const FormHostScope&) = delete;

    FormHost& host() { return host_; }

private:
    FormHost host_;
    FormHost* outer_;
};

// The innermost host, or nullptr when no list is calling a form.
FormHost* currentFormHost();

// The area in which forms open when no list is calling them (a form started from
// the frame itself); the frame sets it once.
void setDefaultFormArea(QMdiArea* area);
QMdiArea* defaultFormArea();

}  // namespace ui
