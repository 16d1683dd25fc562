// TLabel: a lightweight text label. AutoSize (default) makes it fit its
// text once loading has finished and whenever text or font change; with
// WordWrap the width stays and the text breaks into lines. A transparent
// label leaves the parent's background under its text.
#pragma once

#include <string>

#include "ui/GraphicControl.h"

namespace ui {

class TLabel : public TGraphicControl {
 public:
  TLabel();

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  // '&' marks an access key (drawn underlined) when set (the default).
  bool ShowAccelChar() const { return showAccel_; }
  void SetShowAccelChar(bool v);

  // Raised after AutoSize changed the label's size.
  TNotifyEvent OnResized;

  void Paint(HDC dc) override;
  void Loaded() override;
  bool SetProperty(std::string_view name, const TValue& value) override;

 protected:
  void FontChanged() override;
  // Resizes the label to its text (AutoSize, not while loading).
  void AdjustBounds();
  UINT TextFlags() const;

 private:
  std::string caption_;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool transparent_ = false;
  bool showAccel_ = true;
};

}  // namespace ui
