// The application-wide lists: the open forms (the screen's form list) and
// the idle event raised whenever a toolkit message loop finds its queue empty.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ui/Component.h"

namespace ui {

class TForm;

namespace Screen {
// Every form that exists, in creation order (a form enters the list when it
// is constructed and leaves it when it is destroyed).
const std::vector<TForm*>& Forms();
bool Contains(const TForm* form);
// Called by TForm only.
void AddForm(TForm* form);
void RemoveForm(TForm* form);
}  // namespace Screen

// Subscribes to the application's events for its lifetime: OnIdle runs each
// time a toolkit message loop has emptied its queue (done starts true).
class TApplicationEvents : public TComponent {
 public:
  TApplicationEvents();
  ~TApplicationEvents() override;
  std::function<void(TComponent* sender, bool& done)> OnIdle;
};

namespace Application {
// Raises OnIdle of every TApplicationEvents, in subscription order; one that
// unsubscribes another during the round is skipped safely.
void Idle();
// Dialog keys of the form owning msg.hwnd (Tab, Enter, Escape), otherwise
// TranslateMessage + DispatchMessageA.
void HandleMessage(MSG& msg);
// Handles every message waiting in the queue, then returns (no idle event).
// A WM_QUIT found is posted again and ends the call.
void ProcessMessages();
}  // namespace Application

}  // namespace ui
