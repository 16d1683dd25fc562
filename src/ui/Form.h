// TForm: a top-level window with a fixed dialog frame (caption and close
// box, no icon, no minimise or maximise box), sized by its client area,
// centred on the screen when shown, owning the components of its layout.
//
// ShowModal disables the owner window and every other visible, enabled
// top-level window of the thread (ThreadWindowsDisabled), runs a message
// loop that raises the application's idle event whenever the queue runs
// empty, and returns ModalResult once it is not 0; the close box sets it to
// mrCancel (2).
// Keyboard navigation covers the whole form in tab order (hidden and
// disabled controls skipped): Tab / Shift+Tab move the focus, Enter
// activates the button EnterButton() names, Escape activates a Cancel
// button if there is one and otherwise does nothing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/WinControl.h"

namespace ui {

class TButton;

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TForm : public TWinControl {
 public:
  explicit TForm(HWND owner = nullptr);
  ~TForm() override;

  // A number no other form of this process has had: tells a form from a
  // later one that happens to reuse its address.
  unsigned long long Serial() const { return serial_; }

  HWND OwnerWindow() const { return owner_; }
  void SetOwnerWindow(HWND owner);

  std::string Caption() const;
  void SetCaption(const std::string& text);

  int ClientWidth() const { return clientW_; }
  int ClientHeight() const { return clientH_; }
  void SetClientSize(int width, int height);
  RECT ClientRect() const override { return RECT{0, 0, clientW_, clientH_}; }

  int ModalResult() const { return modalResult_; }
  void SetModalResult(int r);
  bool IsModal() const { return modal_; }
  int ShowModal();
  void CenterOnScreen();
  void SetVisible(bool v) override;

  // The control focused when the form is shown (default: the first of FocusOrder()).
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* c) { activeControl_ = c; }

  // Every control that can take the focus now, in tab order over the whole form.
  std::vector<TWinControl*> FocusOrder() const;
  // Moves the focus to the next (previous) control of FocusOrder(), wrapping.
  void SelectNext(bool forward);
  // The toolkit control that has the focus, or nullptr.
  TWinControl* FocusedControl() const;
  // Handles Tab, Enter and Escape of a WM_KEYDOWN for a window of this form;
  // true when the key was used.
  virtual bool DialogKey(const MSG& msg);
  // The button that Enter activates with `focused` holding the focus: the
  // focused button itself, otherwise the first visible, enabled Default
  // button in creation order. Forms may choose otherwise.
  virtual TButton* EnterButton(TWinControl* focused) const;

  // Called when a control of the form gets the focus: the button
  // EnterButton() names shows the default-button frame; while that is a
  // Default button and a control that is not a button has the focus, every
  // Default button shows it.
  void FocusChanged(TWinControl* focused);

  // Components owned by the form (created by its layout table).
  TComponent* InsertComponent(std::unique_ptr<TComponent> c);
  TComponent* FindComponent(std::string_view name) const;
  template <typename T>
  T* Find(std::string_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  const std::vector<std::unique_ptr<TComponent>>& Components() const { return components_; }

  bool SetProperty(std::string_view name, const TValue& value) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void WndProc(TMessage& m) override;

 private:
  HWND owner_ = nullptr;
  unsigned long long serial_;
  std::string caption_;
  int clientW_ = 0, clientH_ = 0;
  int modalResult_ = mrNone;
  bool modal_ = false;
  TWinControl* activeControl_ = nullptr;
  HWND lastFocus_ = nullptr;
  std::vector<std::unique_ptr<TComponent>> components_;
};

}  // namespace ui
