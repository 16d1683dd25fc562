// TVistaAltFix: on systems with visual themes, repaints the controls of
// every open form after the form was told that its keyboard cues changed
// (WM_UPDATEUISTATE, as when the user presses Alt). At each idle moment it
// sweeps the screen's form list: new forms get a record that hooks their
// window procedure, records of forms that have gone are dropped, and each
// form that received a keyboard-cue update since the last sweep is
// repainted once, however many updates came.
//
// Inactive for its whole life (no records, no idle subscription) unless
// FixNeeded() holds when it is made.
#pragma once

#include <memory>
#include <vector>

#include "controls/FixNeeded.h"
#include "ui/Form.h"
#include "ui/Screen.h"

namespace cv {

// Repaints at once (invalidate, update now) a windowed control and, in
// child order, every windowed control under it.
void RepaintTree(ui::TControl* control);
// Repaints at once only the button controls under `control` (found through
// containers); a button's children are not visited, containers themselves
// are not repainted.
void RepaintButtons(ui::TControl* control);

class TFormObj {
 public:
  // Hooks the form: its window procedure now runs through this record.
  TFormObj(ui::TForm* form, bool fullRepaint);
  // Gives a form that still exists its own window procedure back.
  ~TFormObj();
  TFormObj(const TFormObj&) = delete;
  TFormObj& operator=(const TFormObj&) = delete;

  ui::TForm* TargetForm() const { return form_; }
  // The record serves this form (the same object, not a later form at its address).
  bool Serves(const ui::TForm* form) const { return form == form_ && form->Serial() == serial_; }
  bool Alive = true;
  bool FullRepaint() const { return fullRepaint_; }
  bool RepaintPending() const { return hook_->pending; }
  // Repaints the form (tree or buttons) when an update is pending, once.
  void FlushRepaint();

 private:
  // What the hook installed in the form needs; shared with the hook so that
  // a message still inside the form's window procedure outlives the record.
  struct Hook {
    ui::TWndMethod saved;
    bool pending = false;
  };
  static void HookedWindowProc(Hook& hook, ui::TMessage& m);

  ui::TForm* form_;
  unsigned long long serial_;
  bool fullRepaint_;
  std::shared_ptr<Hook> hook_;
};

class TVistaAltFix : public ui::TComponent {
 public:
  explicit TVistaAltFix(ui::TComponent* owner = nullptr);
  ~TVistaAltFix() override;

  bool RepaintAll() const { return repaintAll_; }
  // Affects only forms hooked afterwards.
  void SetRepaintAll(bool v) { repaintAll_ = v; }
  bool Active() const { return formRecords_ != nullptr; }
  // The records of the last sweep, or nullptr when inactive.
  const std::vector<std::unique_ptr<TFormObj>>* FormRecords() const { return formRecords_.get(); }

  // The idle handler: the sweep described above.
  void AppIdle(ui::TComponent* sender, bool& done);

  bool SetProperty(std::string_view name, const ui::TValue& value) override;

 private:
  std::unique_ptr<std::vector<std::unique_ptr<TFormObj>>> formRecords_;
  std::unique_ptr<ui::TApplicationEvents> appEvents_;
  bool repaintAll_ = true;
};

// Makes "TVistaAltFix" a kind of the layout tables.
void RegisterVistaAltFixKind();

}  // namespace cv
