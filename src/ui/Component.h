// The root of the toolkit's objects: a named component that a form's layout
// table can create and set properties on (see Layout.h).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace ui {

class TComponent;

// One message as it travels through a control's WindowProc.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

using TNotifyEvent = std::function<void(TComponent* sender)>;

// A property value of a layout row: a number (int, colour, enum, bool) or a text.
class TValue {
 public:
  TValue(int v) : num_(v) {}
  TValue(long v) : num_(v) {}
  TValue(long long v) : num_(v) {}
  TValue(unsigned v) : num_(v) {}
  TValue(unsigned long v) : num_(v) {}
  TValue(bool v) : num_(v ? 1 : 0) {}
  TValue(const char* s) : isText_(true), text_(s ? s : "") {}
  TValue(std::string s) : isText_(true), text_(std::move(s)) {}

  bool IsText() const { return isText_; }
  long long AsInt() const { return num_; }
  bool AsBool() const { return num_ != 0; }
  const std::string& AsText() const { return text_; }

 private:
  bool isText_ = false;
  long long num_ = 0;
  std::string text_;
};

class TComponent {
 public:
  TComponent() = default;
  virtual ~TComponent() = default;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // True while a layout table is being applied to the component's form.
  bool Loading() const { return loading_; }
  void SetLoading(bool on) { loading_ = on; }
  // Called once, after the whole layout table of the form has been applied
  // (Loading() is already false): compute what depends on the properties.
  virtual void Loaded() {}

  // Sets one property by its layout name ("Caption", "Font.Height", ...).
  // Returns false when the component has no such property.
  virtual bool SetProperty(std::string_view name, const TValue& value);

 private:
  std::string name_;
  bool loading_ = false;
};

}  // namespace ui
