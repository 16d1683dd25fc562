// Push buttons. TButtonControl is the family of button controls (the ones
// a keyboard-cue repaint limited to buttons visits); TButton is the
// standard push button with a caption, a modal result and Default / Cancel.
#pragma once

#include <string>

#include "ui/WinControl.h"

namespace ui {

class TButtonControl : public TWinControl {};

class TButton : public TButtonControl {
 public:
  TButton();

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);
  // Activating the button sets its form's ModalResult to this when not 0.
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int r) { modalResult_ = r; }
  // Enter activates a Default button while the focus is not on a button.
  bool Default() const { return default_; }
  void SetDefault(bool v) { default_ = v; }
  // Escape activates a Cancel button.
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }

  void Click() override;
  void Command(WORD code) override;
  bool SetProperty(std::string_view name, const TValue& value) override;

 protected:
  void CreateParams(TCreateParams& p) override;

 private:
  std::string caption_;
  int modalResult_ = 0;
  bool default_ = false;
  bool cancel_ = false;
};

}  // namespace ui
