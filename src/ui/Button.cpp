#include "ui/Button.h"

#include "ui/Form.h"

namespace ui {

TButton::TButton() { SetTabStop(true); }

void TButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = "BUTTON";
  p.Caption = caption_;
  p.Style |= WS_TABSTOP | BS_PUSHBUTTON;
}

void TButton::SetCaption(const std::string& text) {
  caption_ = text;
  if (Handle()) SetWindowTextA(Handle(), caption_.c_str());
}

void TButton::Click() {
  if (modalResult_ != 0) {
    if (TForm* f = ParentForm()) f->SetModalResult(modalResult_);
  }
  TWinControl::Click();
}

void TButton::Command(WORD code) {
  if (code == BN_CLICKED) Click();
}

bool TButton::SetProperty(std::string_view name, const TValue& v) {
  if (name == "Caption") SetCaption(v.AsText());
  else if (name == "ModalResult") SetModalResult(static_cast<int>(v.AsInt()));
  else if (name == "Default") SetDefault(v.AsBool());
  else if (name == "Cancel") SetCancel(v.AsBool());
  else return TWinControl::SetProperty(name, v);
  return true;
}

}  // namespace ui
