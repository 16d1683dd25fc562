// TEdit: a single-line text field. In place of the standard border it is
// framed on all four sides by an etched edge 2 pixels wide (a sunken outer
// line and a raised inner line), drawn in its non-client area.
// TLabeledEdit adds a caption label that it owns: the label stands above
// the field, left-aligned with it, 3 pixels between the label's bottom and
// the field's top, and resizes to its text.
#pragma once

#include <memory>
#include <string>

#include "ui/Label.h"
#include "ui/WinControl.h"

namespace ui {

class TEdit : public TWinControl {
 public:
  TEdit();

  std::string Text() const;
  void SetText(const std::string& text);

  TNotifyEvent OnChange;

  void Command(WORD code) override;
  HBRUSH CtlColor(HDC dc) override;
  bool SetProperty(std::string_view name, const TValue& value) override;

  static constexpr int kEdge = 2;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  void WndProc(TMessage& m) override;
  void ColorChanged() override;

 private:
  void PaintEdge(HDC dc);
  std::string text_;
  BrushHandle brush_;
};

class TLabeledEdit : public TEdit {
 public:
  TLabeledEdit();
  ~TLabeledEdit() override;

  TLabel& EditLabel() { return *label_; }
  const TLabel& EditLabel() const { return *label_; }
  static constexpr int kLabelSpacing = 3;

  void SetParent(TWinControl* parent) override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool v) override;
  void Loaded() override;
  // "EditLabel.<property>" reaches the caption label.
  bool SetProperty(std::string_view name, const TValue& value) override;

 private:
  void PlaceLabel();
  std::unique_ptr<TLabel> label_;
};

}  // namespace ui
