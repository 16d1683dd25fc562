// TControl: what every visual control has, windowed or not: a parent, a
// rectangle in the parent's client coordinates, visibility, a font and a
// colour, mouse events and a WindowProc through which its messages pass.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/Color.h"
#include "ui/Component.h"
#include "ui/Font.h"

namespace ui {

class TWinControl;
class TForm;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TCursor { crDefault, crArrow, crHandPoint };
// csOpaque: the control covers its whole rectangle, the parent need not paint
// beneath it. csClickEvents: a press followed by a release over the control
// raises Click (lightweight controls; windowed ones click on their own).
enum TControlStyleFlag : unsigned { csOpaque = 1, csClickEvents = 2 };

using TMouseEvent = std::function<void(TComponent* sender, TMouseButton button, WPARAM keys, int x, int y)>;
using TWndMethod = std::function<void(TMessage&)>;

class TControl : public TComponent {
 public:
  TControl();
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  // The form that holds the control (itself for a form), or nullptr.
  TForm* ParentForm() const;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  // Visible itself and every parent up to (not including) the form.
  bool Showing() const;
  // Enabled itself and every parent up to the form.
  bool EnabledInForm() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);

  const TFont& Font() const { return font_; }
  // Replaces the font (the control stops following its parent's font).
  void SetFont(const TFont& f);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c) { cursor_ = c; }
  unsigned ControlStyle() const { return controlStyle_; }
  void SetControlStyle(unsigned s) { controlStyle_ = s; }

  // Repaints the control: its rectangle on the parent's window, no erase
  // (windowed controls invalidate their own window).
  virtual void Invalidate();

  // Every message of the control passes here; by default it runs WndProc.
  // A hook may replace it and call the previous value (see TVistaAltFix).
  TWndMethod WindowProc;
  LRESULT Perform(UINT msg, WPARAM w = 0, LPARAM l = 0);

  TNotifyEvent OnClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;

  virtual void Click();
  virtual void MouseEnter();
  virtual void MouseLeave();

  bool SetProperty(std::string_view name, const TValue& value) override;

 protected:
  // The control's own message handling. The base turns mouse presses and
  // releases into MouseDown / MouseUp / Click (a click needs the press).
  virtual void WndProc(TMessage& m);
  // What is left after WndProc: the window's default handling.
  virtual void DefaultHandler(TMessage&) {}
  virtual void MouseDown(TMouseButton b, WPARAM keys, int x, int y);
  virtual void MouseUp(TMouseButton b, WPARAM keys, int x, int y);
  virtual void MouseMove(WPARAM, int, int) {}
  // Called after the font or colour changed (including through the parent).
  virtual void FontChanged() { Invalidate(); }
  virtual void ColorChanged() { Invalidate(); }
  // Called after the bounds changed.
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}

  bool parentFont_ = true;
  bool parentColor_ = false;
  friend class TWinControl;

 private:
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  bool pressed_ = false;
  TFont font_;
  TColor color_ = clBtnFace;
  TCursor cursor_ = crDefault;
  unsigned controlStyle_ = csClickEvents;
};

}  // namespace ui
