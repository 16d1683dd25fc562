// TFormOne: the property dialog with one text field (LEdit1). The footer
// creates ButtonOK50 first, so Enter in the field gives OK.
#pragma once

#include "dialogs/PropertyForm.h"

namespace cv {

class TFormOne : public TPropertyForm {
 public:
    TFormOne();
};

}  // namespace cv
