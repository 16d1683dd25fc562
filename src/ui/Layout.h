// Layout tables: the stored description of a form's controls. Each row
// names a control, its kind, its parent (by name; empty = the form), its
// position and size relative to the parent, and only the properties that
// differ from the control's defaults, by their property names:
//
//   {.Name = "LabelCommand", .Kind = "TLabel", .Parent = "pnl1",
//    .Left = 9, .Top = 3, .Width = 104, .Height = 17,
//    .Props = {{"Font.Name", "Arial"}, {"Font.Height", 15},
//              {"Font.Color", ui::Rgb(0xFF, 0xFF, 0xE1)},
//              {"Transparent", true}, {"Caption", "LabelCommand"}}}
//
// Rows are applied in order (that is the drawing order of the lightweight
// controls within a parent, and the creation order of the windowed ones).
// While the table is applied every created component reports Loading();
// afterwards each one (the form first) gets Loaded() exactly once.
//
// Kinds: the toolkit registers TPanel, TLabel, TShape, TImage, TEdit,
// TLabeledEdit, TButton, TSpeedButton and TComboBox. Other kinds are added
// with RegisterComponentKind, or per row through Create; Setup runs after
// the row's properties for anything a property name cannot express.
// A row without Kind and Create applies its properties to an existing
// component (the form itself when Name is empty or the form's name).
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ui/Component.h"

namespace ui {

class TForm;

using TComponentFactory = std::function<std::unique_ptr<TComponent>()>;
using TProps = std::vector<std::pair<std::string, TValue>>;

struct TLayoutRow {
  std::string Name{};
  std::string Kind{};
  std::string Parent{};
  int Left = 0, Top = 0, Width = 0, Height = 0;
  TProps Props{};
  TComponentFactory Create{};
  std::function<void(TComponent&)> Setup{};
};

// A table that cannot be applied: unknown kind, parent or property.
class ELayoutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void RegisterComponentKind(const std::string& kind, TComponentFactory factory);
bool IsComponentKindRegistered(const std::string& kind);

// Creates the table's components on `form` (which owns them). Throws
// ELayoutError; what was created before the error stays owned by the form.
void LoadLayout(TForm& form, const std::vector<TLayoutRow>& rows);

}  // namespace ui
