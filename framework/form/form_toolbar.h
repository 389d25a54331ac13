// The frame's toolbar while a form is active. Forms that prepare it offer the
// save-and-move buttons: the list that called the form moves on to the next
// record (or a new one) once the form has saved the record.
#pragma once

#include "framework/shared_state.h"

#include <array>
#include <string>

namespace framework::form {

class FormView;

inline constexpr const char* kTipSaveAndAddAnother = "Save record and add another";
inline constexpr const char* kTipSaveAndLast = "Save changes and go to last record";
inline constexpr const char* kTipSaveAndFirst = "Save changes and go to first record";
inline constexpr const char* kTipSavePageDown = "Save changes and page down to record";
inline constexpr const char* kTipSavePageUp = "Save changes and page up to record";
inline constexpr const char* kTipSaveAndNext = "Save changes and go to next record";
inline constexpr const char* kTipSaveAndPrevious = "Save changes and go to previous record";
inline constexpr const char* kTipSaveAndNew = "Save this record and add a new one";

// Buttons whose press saves the record and hands the button to the list in
// VCRRequest: 2000 and 2004 to 2009.
bool isNavigationButton(int button);

// The toolbar buttons 2000 to 2012 as the form has set them. Buttons the form has
// not set count as disabled.
class FormToolbar {
public:
    void set(FormView& view, int button, bool enabled, const std::string& tip = {});
    bool enabled(int button) const;

private:
    std::array<bool, kToolHelp - kToolInsert + 1> enabled_{};
};

// Disables 2000 to 2012 and enables 2011; then for insert 2008 and 2000 ("Save
// record and add another"), for change 2004 to 2009 and 2000 with their tips;
// for delete nothing more.
void prepareToolbar(FormToolbar& toolbar, FormView& view, int request);

}  // namespace framework::form
