#include "ui/ComboBox.h"

namespace ui {

namespace {
constexpr int kDropDownItems = 8;
}

TComboBox::TComboBox() {
  SetTabStop(true);
  SetColor(clWindow);
}

void TComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = "COMBOBOX";
  p.Style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
}

void TComboBox::CreateWnd() {
  for (const auto& s : items_) SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, itemHeight_);
  SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

int TComboBox::WindowHeight() const { return Height() + kDropDownItems * itemHeight_ + 2; }

void TComboBox::AddItem(const std::string& text) {
  items_.push_back(text);
  if (Handle()) SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TComboBox::ClearItems() {
  items_.clear();
  itemIndex_ = -1;
  if (Handle()) SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
}

int TComboBox::ItemIndex() const {
  if (Handle()) return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
  return itemIndex_;
}

void TComboBox::SetItemIndex(int i) {
  itemIndex_ = (i >= 0 && i < static_cast<int>(items_.size())) ? i : -1;
  if (Handle()) SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

std::string TComboBox::Text() const {
  const int i = ItemIndex();
  return (i >= 0 && i < static_cast<int>(items_.size())) ? items_[i] : std::string();
}

void TComboBox::SetItemHeight(int h) {
  itemHeight_ = h;
  if (Handle()) {
    SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, h);
    UpdateWindowBounds();
  }
}

bool TComboBox::DroppedDown() const {
  return Handle() && SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::Command(WORD code) {
  if (code == CBN_SELCHANGE) {
    itemIndex_ = ItemIndex();
    if (OnChange) OnChange(this);
  }
}

HBRUSH TComboBox::CtlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(Font().Color));
  SetBkColor(dc, ColorToRGB(Color()));
  if (!brush_) brush_.reset(CreateSolidBrush(ColorToRGB(Color())));
  return brush_.get();
}

void TComboBox::ColorChanged() {
  brush_.reset();
  TWinControl::ColorChanged();
}

bool TComboBox::SetProperty(std::string_view name, const TValue& v) {
  if (name == "ItemHeight") SetItemHeight(static_cast<int>(v.AsInt()));
  else if (name == "ItemIndex") SetItemIndex(static_cast<int>(v.AsInt()));
  else if (name == "Items.Add") AddItem(v.AsText());
  else return TWinControl::SetProperty(name, v);
  return true;
}

}  // namespace ui
