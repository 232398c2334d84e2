// Shows a choice control of the profile state in a combo box.
#pragma once

#include <QComboBox>

#include "profiles/ChoiceControl.h"

namespace trovenix {

// The box's items, selection and enabled state become the control's; the
// box's signals stay quiet, since this is no user's choice.
void ShowChoice(QComboBox& box, const TChoiceControl& control);

}  // namespace trovenix
