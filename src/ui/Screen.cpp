#include "ui/Screen.h"

#include <algorithm>

#include "ui/Form.h"

namespace ui {

namespace {
std::vector<TForm*>& FormList() {
  static std::vector<TForm*> forms;
  return forms;
}
std::vector<TApplicationEvents*>& EventList() {
  static std::vector<TApplicationEvents*> events;
  return events;
}
}  // namespace

const std::vector<TForm*>& Screen::Forms() { return FormList(); }

bool Screen::Contains(const TForm* form) {
  const auto& l = FormList();
  return std::find(l.begin(), l.end(), form) != l.end();
}

void Screen::AddForm(TForm* form) { FormList().push_back(form); }

void Screen::RemoveForm(TForm* form) {
  auto& l = FormList();
  l.erase(std::remove(l.begin(), l.end(), form), l.end());
}

TApplicationEvents::TApplicationEvents() { EventList().push_back(this); }

TApplicationEvents::~TApplicationEvents() {
  auto& l = EventList();
  l.erase(std::remove(l.begin(), l.end(), this), l.end());
}

void Application::Idle() {
  const std::vector<TApplicationEvents*> round = EventList();
  for (TApplicationEvents* e : round) {
    const auto& now = EventList();
    if (std::find(now.begin(), now.end(), e) == now.end()) continue;
    if (e->OnIdle) {
      bool done = true;
      e->OnIdle(e, done);
    }
  }
}

void Application::HandleMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.hwnd) {
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(root))) {
      if (form->DialogKey(msg)) return;
    }
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    HandleMessage(msg);
  }
}

}  // namespace ui
