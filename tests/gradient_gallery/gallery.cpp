// Every gradient style (rows) in every shape, without and with a border
// (columns), on a form. Shows the form under the current display, copies the
// form's client area off the screen into a .bmp file and exits.
//   gradient_gallery OUT.bmp
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "controls/Gradient.h"
#include "ui/Form.h"
#include "ui/Gdi.h"

using namespace cv;

namespace {

const char* const kShapes[] = {"Rect", "Square", "RoundRect", "RoundSq", "Ellipse", "Circle"};

// A line of text painted on the form (the gallery's row and column titles).
class Caption : public ui::TGraphicControl {
 public:
  explicit Caption(std::string text) : text_(std::move(text)) {}
  void Paint(HDC dc) override {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    ui::SelectObjectScope font(dc, GetStockObject(DEFAULT_GUI_FONT));
    TextOutA(dc, 0, 0, text_.data(), static_cast<int>(text_.size()));
  }

 private:
  std::string text_;
};

constexpr int kNameW = 96, kHeadH = 20, kCellW = 76, kCellH = 34, kPad = 4;

}  // namespace

int main(int argc, char** argv) {
  const char* out = argc > 1 ? argv[1] : "gradient-gallery.bmp";
  ui::TForm form;
  form.SetCaption("TGradient gallery");
  const int columns = 12;
  form.SetClientSize(kNameW + columns * kCellW + kPad, kHeadH + kGradientStyleCount * kCellH + kPad);
  form.SetColor(ui::clBtnFace);

  std::vector<std::unique_ptr<ui::TControl>> owned;
  auto add = [&](std::unique_ptr<ui::TControl> c, int l, int t, int w, int h) {
    c->SetBounds(l, t, w, h);
    c->SetParent(&form);
    owned.push_back(std::move(c));
  };
  for (int col = 0; col < columns; ++col) {
    std::string head = kShapes[col % 6];
    if (col >= 6) head += " +B";
    add(std::make_unique<Caption>(head), kNameW + col * kCellW, 3, kCellW, kHeadH - 3);
  }
  for (int s = 0; s < kGradientStyleCount; ++s) {
    const int top = kHeadH + s * kCellH;
    const char* name = GradientStyleName(static_cast<TGradientStyle>(s));
    add(std::make_unique<Caption>(name), kPad, top + kCellH / 2 - 7, kNameW - kPad, 16);
    for (int col = 0; col < columns; ++col) {
      auto g = std::make_unique<TGradient>();
      g->BeginUpdate();
      g->SetStyle(static_cast<TGradientStyle>(s));
      g->SetColorBegin(Rgb(255, 230, 40));
      g->SetColorEnd(Rgb(20, 50, 150));
      g->SetShape(static_cast<TShapeType>(col % 6));
      if (col >= 6) {
        g->SetBorderWidth(2);
        g->SetBorderColor(Rgb(0, 0, 0));
      }
      g->EndUpdate();
      add(std::move(g), kNameW + col * kCellW + 2, top + 2, kCellW - 4, kCellH - 4);
    }
  }

  form.HandleNeeded();
  form.CenterOnScreen();
  ShowWindow(form.Handle(), SW_SHOW);
  UpdateWindow(form.Handle());
  for (int i = 0; i < 20; ++i) {  // let the window settle on the display
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(25);
  }

  // The screenshot: the form's client area as it is on the screen.
  const RECT client = form.ClientRect();
  ui::MemoryBitmap shot(client.right, client.bottom);
  HDC screen = GetDC(form.Handle());
  const bool ok = BitBlt(shot.dc(), 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
  ReleaseDC(form.Handle(), screen);
  if (!ok) {
    std::fprintf(stderr, "screen copy failed; painting off screen instead\n");
    form.PaintTo(shot.dc(), 0, 0);
  }
  if (!shot.SaveBmp(out)) {
    std::fprintf(stderr, "cannot write %s\n", out);
    return 1;
  }
  std::printf("saved %s (%d x %d)\n", out, static_cast<int>(client.right), static_cast<int>(client.bottom));
  return 0;
}
