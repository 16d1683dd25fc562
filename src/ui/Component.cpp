#include "ui/Component.h"

namespace ui {

bool TComponent::SetProperty(std::string_view name, const TValue& value) {
  if (name == "Name") {
    name_ = value.AsText();
    return true;
  }
  return false;
}

}  // namespace ui
