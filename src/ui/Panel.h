// TPanel: a borderless container window without bevel, background clBtnFace.
#pragma once

#include "ui/WinControl.h"

namespace ui {

class TPanel : public TWinControl {
 public:
  TPanel() = default;

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.ExStyle |= WS_EX_CONTROLPARENT;
  }
};

}  // namespace ui
