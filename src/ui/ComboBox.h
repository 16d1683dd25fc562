// TComboBox: a drop-down list with selection only (no typing).
#pragma once

#include <string>
#include <vector>

#include "ui/WinControl.h"

namespace ui {

class TComboBox : public TWinControl {
 public:
  TComboBox();

  const std::vector<std::string>& Items() const { return items_; }
  void AddItem(const std::string& text);
  void ClearItems();
  // The selected item, -1 for none.
  int ItemIndex() const;
  void SetItemIndex(int i);
  // The selected item's text, empty for none.
  std::string Text() const;
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int h);
  bool DroppedDown() const;

  TNotifyEvent OnChange;

  void Command(WORD code) override;
  HBRUSH CtlColor(HDC dc) override;
  bool SetProperty(std::string_view name, const TValue& value) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  int WindowHeight() const override;
  void ColorChanged() override;

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  int itemHeight_ = 16;
  BrushHandle brush_;
};

}  // namespace ui
