#include "framework/form/form_environment.h"

namespace framework::form {

namespace {
FormEnvironmentSource installed;
}

void setFormEnvironment(FormEnvironmentSource source) { installed = std::move(source); }

FormEnvironment formEnvironment() { return installed ? installed() : FormEnvironment{}; }

}  // namespace framework::form
