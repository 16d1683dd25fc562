#include "ui/Layout.h"

#include <map>

#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/Shape.h"
#include "ui/SpeedButton.h"

namespace ui {

namespace {
template <typename T>
TComponentFactory Make() {
  return [] { return std::unique_ptr<TComponent>(new T()); };
}

std::map<std::string, TComponentFactory>& Registry() {
  static std::map<std::string, TComponentFactory> kinds = {
      {"TPanel", Make<TPanel>()},       {"TLabel", Make<TLabel>()},
      {"TShape", Make<TShape>()},       {"TImage", Make<TImage>()},
      {"TEdit", Make<TEdit>()},         {"TLabeledEdit", Make<TLabeledEdit>()},
      {"TButton", Make<TButton>()},     {"TSpeedButton", Make<TSpeedButton>()},
      {"TComboBox", Make<TComboBox>()},
  };
  return kinds;
}

void ApplyProps(TComponent& c, const TLayoutRow& row) {
  for (const auto& [name, value] : row.Props) {
    if (!c.SetProperty(name, value)) throw ELayoutError("layout: " + row.Name + " has no property " + name);
  }
  if (row.Setup) row.Setup(c);
}
}  // namespace

void RegisterComponentKind(const std::string& kind, TComponentFactory factory) {
  Registry()[kind] = std::move(factory);
}

bool IsComponentKindRegistered(const std::string& kind) { return Registry().count(kind) != 0; }

void LoadLayout(TForm& form, const std::vector<TLayoutRow>& rows) {
  std::vector<TComponent*> loaded{&form};
  form.SetLoading(true);
  struct LoadingScope {
    std::vector<TComponent*>& list;
    bool done = false;
    ~LoadingScope() {
      if (!done)
        for (TComponent* c : list) c->SetLoading(false);
    }
  } scope{loaded};

  for (const TLayoutRow& row : rows) {
    if (row.Kind.empty() && !row.Create) {
      TComponent* target =
          (row.Name.empty() || row.Name == form.Name()) ? &form : form.FindComponent(row.Name);
      if (!target) throw ELayoutError("layout: no component " + row.Name);
      ApplyProps(*target, row);
      continue;
    }
    std::unique_ptr<TComponent> made;
    if (row.Create) {
      made = row.Create();
    } else {
      auto it = Registry().find(row.Kind);
      if (it == Registry().end()) throw ELayoutError("layout: unknown kind " + row.Kind);
      made = it->second();
    }
    if (!made) throw ELayoutError("layout: " + row.Name + " was not created");
    made->SetName(row.Name);
    made->SetLoading(true);
    TComponent* c = form.InsertComponent(std::move(made));
    loaded.push_back(c);
    if (auto* ctl = dynamic_cast<TControl*>(c)) {
      TWinControl* parent = &form;
      if (!row.Parent.empty() && row.Parent != form.Name()) {
        parent = form.Find<TWinControl>(row.Parent);
        if (!parent) throw ELayoutError("layout: " + row.Name + " has no container " + row.Parent);
      }
      ctl->SetParent(parent);
      ctl->SetBounds(row.Left, row.Top, row.Width, row.Height);
    }
    ApplyProps(*c, row);
  }

  scope.done = true;
  for (TComponent* c : loaded) {
    c->SetLoading(false);
    c->Loaded();
  }
}

}  // namespace ui
