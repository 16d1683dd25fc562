// Layout tables of the property dialogs: one row per control, only the
// properties that differ from the control's defaults. Rows within a parent
// are in drawing order (lightweight controls) and creation order (windowed
// ones, which also gives the tab order inside the parent).
#pragma once

#include <vector>

#include "ui/Layout.h"

namespace cv {

// Which push button the footer creates first: that one has tab order 0 in
// the footer and is the one Enter in a text field activates.
enum class FooterOrder { OkFirst, CancelFirst };

// Form properties, Shape1, Image2, Panel1 and pnl1 (in this order).
std::vector<ui::TLayoutRow> FrameRows(const char* formName);
// VistaAltFix1: after the dialog's own group containers.
std::vector<ui::TLayoutRow> FixRows();
// The controls of Panel1 (the first field group).
std::vector<ui::TLayoutRow> FirstGroupRows();
// The controls of pnl1 (the footer); `cancelTop` is ButtonCancel50's Top.
std::vector<ui::TLayoutRow> FooterRows(FooterOrder order, int cancelTop);

// Concatenates tables.
std::vector<ui::TLayoutRow> Join(std::initializer_list<std::vector<ui::TLayoutRow>> parts);

}  // namespace cv
