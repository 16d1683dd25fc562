#include "controls/VistaAltFixUnit.h"

#include "ui/Button.h"
#include "ui/Layout.h"

namespace cv {

namespace {
void RepaintNow(ui::TWinControl* w) {
  if (w->HandleAllocated()) RedrawWindow(w->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}
}  // namespace

void RepaintTree(ui::TControl* control) {
  auto* w = dynamic_cast<ui::TWinControl*>(control);
  if (!w) return;
  RepaintNow(w);
  const std::vector<ui::TControl*> children = w->Controls();
  for (ui::TControl* c : children) RepaintTree(c);
}

void RepaintButtons(ui::TControl* control) {
  auto* w = dynamic_cast<ui::TWinControl*>(control);
  if (!w) return;
  if (dynamic_cast<ui::TButtonControl*>(w)) {
    RepaintNow(w);
    return;
  }
  const std::vector<ui::TControl*> children = w->Controls();
  for (ui::TControl* c : children) RepaintButtons(c);
}

TFormObj::TFormObj(ui::TForm* form, bool fullRepaint)
    : form_(form), serial_(form->Serial()), fullRepaint_(fullRepaint), hook_(std::make_shared<Hook>()) {
  hook_->saved = form_->WindowProc;
  std::shared_ptr<Hook> hook = hook_;
  form_->WindowProc = [hook](ui::TMessage& m) { HookedWindowProc(*hook, m); };
}

TFormObj::~TFormObj() {
  if (ui::Screen::Contains(form_) && form_->Serial() == serial_) form_->WindowProc = hook_->saved;
}

void TFormObj::HookedWindowProc(Hook& hook, ui::TMessage& m) {
  hook.saved(m);
  if (m.Msg == WM_UPDATEUISTATE) hook.pending = true;
}

void TFormObj::FlushRepaint() {
  if (!hook_->pending) return;
  hook_->pending = false;
  if (fullRepaint_) RepaintTree(form_);
  else RepaintButtons(form_);
}

TVistaAltFix::TVistaAltFix(ui::TComponent*) {
  repaintAll_ = true;
  if (FixNeeded()) {
    formRecords_ = std::make_unique<std::vector<std::unique_ptr<TFormObj>>>();
    appEvents_ = std::make_unique<ui::TApplicationEvents>();
    appEvents_->OnIdle = [this](ui::TComponent* sender, bool& done) { AppIdle(sender, done); };
  }
}

TVistaAltFix::~TVistaAltFix() {
  appEvents_.reset();
  formRecords_.reset();
}

void TVistaAltFix::AppIdle(ui::TComponent*, bool&) {
  if (!formRecords_) return;
  auto& records = *formRecords_;
  for (auto& r : records) r->Alive = false;
  for (ui::TForm* form : ui::Screen::Forms()) {
    bool found = false;
    for (auto& r : records) {
      if (r->Serves(form)) {
        r->Alive = true;
        found = true;
        break;
      }
    }
    if (!found) records.push_back(std::make_unique<TFormObj>(form, repaintAll_));
  }
  for (auto i = records.size(); i-- > 0;) {
    if (!records[i]->Alive) records.erase(records.begin() + static_cast<std::ptrdiff_t>(i));
    else records[i]->FlushRepaint();
  }
}

bool TVistaAltFix::SetProperty(std::string_view name, const ui::TValue& v) {
  if (name == "RepaintAll") SetRepaintAll(v.AsBool());
  else return ui::TComponent::SetProperty(name, v);
  return true;
}

void RegisterVistaAltFixKind() {
  ui::RegisterComponentKind("TVistaAltFix",
                            [] { return std::unique_ptr<ui::TComponent>(new TVistaAltFix()); });
}

}  // namespace cv
