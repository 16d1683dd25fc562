// What a message handler throws stays in the toolkit's window procedure: the
// caller of SendMessage (the system, the host) never sees it.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/GraphicControl.h"

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

// A subclassed system control whose handler throws answers as the control
// itself would, not as a plain window: each message below gets a different
// answer from DefWindowProc.
TEST(WindowProcedure, ASubclassedControlWhoseHandlerThrowsAnswersAsItself) {
  ui::TForm form;
  form.SetClientSize(200, 100);
  form.HandleNeeded();
  ui::TEdit edit;
  ui::TButton button;
  ui::TComboBox combo;
  struct Case {
    const char* what;
    ui::TWinControl* control;
    UINT msg;
  };
  const Case cases[] = {
      {"edit", &edit, EM_GETLIMITTEXT},
      {"edit", &edit, WM_GETDLGCODE},
      {"button", &button, WM_GETDLGCODE},
      {"combo box", &combo, CB_GETCOUNT},
  };
  edit.SetParent(&form);
  button.SetParent(&form);
  combo.SetParent(&form);
  combo.AddItem("one");
  combo.AddItem("two");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND h = c.control->Handle();
    ASSERT_NE(h, nullptr);
    const LRESULT own = SendMessageA(h, c.msg, 0, 0);
    ASSERT_NE(own, DefWindowProcA(h, c.msg, 0, 0));
    const ui::TWndMethod saved = c.control->WindowProc;
    c.control->WindowProc = [&](ui::TMessage& m) {
      if (m.Msg == c.msg) throw std::runtime_error("handler failed");
      saved(m);
    };
    LRESULT result = -1;
    EXPECT_NO_THROW(result = SendMessageA(h, c.msg, 0, 0));
    EXPECT_EQ(result, own);
    c.control->WindowProc = saved;
  }
}

// A lightweight control whose painting throws every time, after noting the
// DC it was given and the bitmap selected into it.
class ThrowingPaint : public ui::TGraphicControl {
 public:
  int paints = 0;
  HDC dc = nullptr;
  HGDIOBJ bitmap = nullptr;
  void Paint(HDC d) override {
    ++paints;
    dc = d;
    bitmap = GetCurrentObject(d, OBJ_BITMAP);
    throw std::runtime_error("paint failed");
  }
};

// A paint that throws must neither leave its DCs and bitmaps behind (a few
// thousand repaints would exhaust the process's GDI objects) nor leave the
// window invalid (WM_PAINT again and again). Wine does not count GDI objects
// (GetGuiResources answers 0): there the DC and bitmap the paint saw must
// be gone.
TEST(WindowProcedure, APaintThatThrowsLeavesNothingBehindAndValidatesTheWindow) {
  ui::TForm form;
  form.SetClientSize(100, 50);
  ThrowingPaint control;
  control.SetBounds(10, 10, 30, 20);
  control.SetParent(&form);
  form.SetVisible(true);
  UpdateWindow(form.Handle());
  const HANDLE self = GetCurrentProcess();
  const DWORD objectsBefore = GetGuiResources(self, GR_GDIOBJECTS);
  const int paintsBefore = control.paints;
  constexpr int kPaints = 200;
  for (int i = 0; i < kPaints; ++i) {
    InvalidateRect(form.Handle(), nullptr, FALSE);
    EXPECT_NO_THROW(UpdateWindow(form.Handle()));
    ASSERT_EQ(control.paints, paintsBefore + i + 1);
    ASSERT_NE(control.dc, nullptr);
    EXPECT_EQ(GetObjectType(control.dc), 0u) << "paint " << i << ": the memory DC is left";
    EXPECT_EQ(GetObjectType(control.bitmap), 0u) << "paint " << i << ": the bitmap is left";
    RECT invalid{};
    EXPECT_FALSE(GetUpdateRect(form.Handle(), &invalid, FALSE)) << "paint " << i;
    if (HasFailure()) break;
  }
  EXPECT_LE(GetGuiResources(self, GR_GDIOBJECTS), objectsBefore + 2);
  form.SetVisible(false);
}

}  // namespace
