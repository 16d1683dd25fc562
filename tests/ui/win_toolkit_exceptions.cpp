// What a message handler throws stays in the toolkit's window procedure: the
// caller of SendMessage (the system, the host) never sees it.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/Form.h"

namespace {

constexpr UINT kThrowingMessage = WM_APP + 7;

TEST(WindowProcedure, AHandlerThatThrowsGetsTheDefaultAnswer) {
  ui::TForm form;
  form.SetClientSize(100, 50);
  form.HandleNeeded();
  ASSERT_TRUE(form.HandleAllocated());
  const ui::TWndMethod saved = form.WindowProc;
  int handled = 0;
  form.WindowProc = [&](ui::TMessage& m) {
    if (m.Msg == kThrowingMessage) throw std::runtime_error("handler failed");
    if (m.Msg == WM_GETTEXTLENGTH) throw std::bad_alloc();
    ++handled;
    saved(m);
  };
  LRESULT result = -1;
  EXPECT_NO_THROW(result = SendMessageA(form.Handle(), kThrowingMessage, 1, 2));
  EXPECT_EQ(result, 0);
  form.SetCaption("four");
  EXPECT_NO_THROW(result = SendMessageA(form.Handle(), WM_GETTEXTLENGTH, 0, 0));
  EXPECT_EQ(result, 4);  // what DefWindowProc answers
  // The window works on and goes away as usual.
  const int before = handled;
  SendMessageA(form.Handle(), WM_NULL, 0, 0);
  EXPECT_EQ(handled, before + 1);
  form.WindowProc = saved;
}

}  // namespace
