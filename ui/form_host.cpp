#include "ui/form_host.h"

#include <QMdiArea>
#include <QPointer>

namespace ui {

namespace {
FormHost* innermost = nullptr;
QPointer<QMdiArea> defaultArea;
}  // namespace

FormHostScope::FormHostScope(QMdiArea* area, QWidget* caller)
    : host_{area, caller, nullptr}, outer_(innermost) {
    innermost = &host_;
}

FormHostScope::~FormHostScope() { innermost = outer_; }

FormHost* currentFormHost() { return innermost; }

void setDefaultFormArea(QMdiArea* area) { defaultArea = area; }

QMdiArea* defaultFormArea() { return defaultArea; }

}  // namespace ui
