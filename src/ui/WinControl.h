// TWinControl: a control with a window. It holds the list of child
// controls (windowed and lightweight, in creation order), paints the
// lightweight ones over its background, routes mouse messages to them, and
// reflects WM_COMMAND / WM_CTLCOLOR* of child windows to the child objects.
//
// The toolkit's own window class (forms, panels) paints double-buffered
// through PaintContent(HDC), the same path as WM_PRINTCLIENT and PaintTo.
// Standard controls (EDIT, BUTTON, COMBOBOX) are subclassed so that their
// messages pass through WindowProc as well.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/MouseCapture.h"

namespace ui {

class TGraphicControl;

struct TCreateParams {
  std::string ClassName;  // empty: the toolkit's own window class
  std::string Caption;
  DWORD Style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD ExStyle = 0;
  HWND ParentWindow = nullptr;
};

class TWinControl : public TControl {
 public:
  TWinControl();
  ~TWinControl() override;

  HWND Handle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Creates the window now (with the parent's window as its parent).
  void HandleNeeded();
  // The toolkit control a window belongs to, or nullptr.
  static TWinControl* FromHandle(HWND wnd);

  void SetParent(TWinControl* parent) override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  void Invalidate() override;

  const std::vector<TControl*>& Controls() const { return controls_; }

  // Tab order among the windowed siblings (0 = first); set when parented to
  // the number of windowed siblings, so creation order by default.
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int v) { tabOrder_ = v; }
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }
  // Windowed children sorted by tab order (creation order among equals).
  std::vector<TWinControl*> TabList() const;
  // Showing, enabled up to the form, with a window.
  bool CanFocus() const;
  void SetFocus();
  bool Focused() const;

  // The topmost visible lightweight child under a point of the client area.
  TGraphicControl* ControlAtPos(POINT pt) const;
  // Ends the press of the lightweight child that holds the mouse: the window
  // gives the capture back and later mouse messages go to whatever lies
  // under the mouse. A press handler that hands control to other code (the
  // shell, a window of the host) calls it first.
  void ReleaseMouseCapture();

  // Paints the client area: background, then the lightweight children.
  // Used for WM_PAINT (into an off-screen bitmap), WM_PRINTCLIENT and PaintTo.
  virtual void PaintContent(HDC dc);
  // Paints the visible lightweight children in list order.
  void PaintControls(HDC dc);
  // Paints the control and all its windowed children onto a DC at (x, y)
  // (for screenshots and tests; the window need not be on screen).
  void PaintTo(HDC dc, int x, int y);

  bool SetProperty(std::string_view name, const TValue& value) override;

  // Child-window notifications reflected to the child that sent them.
  virtual void Command(WORD) {}
  // WM_CTLCOLOR* for this child: a brush for the background, or nullptr
  // for the default.
  virtual HBRUSH CtlColor(HDC) { return nullptr; }

 protected:
  virtual void CreateParams(TCreateParams& p);
  // Runs once after the window exists (apply fonts, texts, styles).
  virtual void CreateWnd() {}
  void WndProc(TMessage& m) override;
  void DefaultHandler(TMessage& m) override;
  void FontChanged() override;
  void ColorChanged() override;
  // The font made from Font() for WM_SETFONT / painting, kept alive here.
  HFONT FontHandleGet();
  void DestroyHandle();
  bool IsOwnClass() const { return ownClass_; }
  // Height of the window itself (a drop-down list adds its list to it).
  virtual int WindowHeight() const { return Height(); }
  void UpdateWindowBounds();

 private:
  friend class TControl;
  friend LRESULT CALLBACK UiWindowProc(HWND, UINT, WPARAM, LPARAM);
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void RouteMouse(TMessage& m);
  void UpdateHot(TGraphicControl* hit);
  void PaintHandler();

  HWND handle_ = nullptr;
  WNDPROC defProc_ = nullptr;
  bool ownClass_ = false;
  std::vector<TControl*> controls_;
  int tabOrder_ = 0;
  bool tabStop_ = false;
  TGraphicControl* hot_ = nullptr;
  TGraphicControl* captured_ = nullptr;
  std::unique_ptr<MouseCapture> capture_;  // held from a press on captured_
  bool tracking_ = false;
  FontHandle font_;
  BrushHandle brush_;
};

}  // namespace ui
