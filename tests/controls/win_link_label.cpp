// Link label: prefixes, caption rules, opening on the press and no click
// on the release. The opener is replaced: nothing is ever really opened.
#include <gtest/gtest.h>

#include "controls/LinkLabel.h"
#include "ui/Form.h"
#include "ui/Gdi.h"
#include "ui/Layout.h"
#include "ui/Panel.h"

namespace {

struct Opened {
  HWND wnd;
  std::string verb, file;
  HWND capture;  // the mouse capture while the address was handed over
};

struct LinkLabel : ::testing::Test {
  std::vector<Opened> opened;
  cv::TLinkLabel::TOpener previous;
  void SetUp() override {
    previous = cv::TLinkLabel::SetOpener([this](HWND w, const char* verb, const std::string& file) {
      opened.push_back({w, verb, file, GetCapture()});
    });
  }
  void TearDown() override { cv::TLinkLabel::SetOpener(previous); }
};

TEST_F(LinkLabel, EachTypeHandsOverItsPrefixBeforeTheAddress) {
  const char* expected[] = {"file://x", "ftp://x", "gopher://x", "http://x", "https://x",
                            "mailto:x", "news:x",  "telnet:x",   "wais:x"};
  cv::TLinkLabel l;
  l.SetHyperLink("x");
  for (int t = cv::ltfile; t <= cv::ltwais; ++t) {
    l.SetLinkType(static_cast<cv::tLinkType>(t));
    EXPECT_EQ(l.Address(), expected[t]);
  }
  // The prefix is added even to an address that has one; none is bare prefix.
  l.SetLinkType(cv::lthttps);
  l.SetHyperLink("https://a.example");
  EXPECT_EQ(l.Address(), "https://https://a.example");
  l.SetHyperLink("");
  EXPECT_EQ(l.Address(), "https://");
  EXPECT_STREQ(cv::LinkPrefix(static_cast<cv::tLinkType>(9)), "");
}

TEST_F(LinkLabel, NewLabelLooksLikeALinkAndHyperLinkFillsOnlyAnEmptyCaption) {
  cv::TLinkLabel l;
  EXPECT_EQ(l.LinkType(), cv::lthttp);
  EXPECT_EQ(l.Font().Color, ui::clBlue);
  EXPECT_EQ(l.Font().Style, ui::fsUnderline);
  EXPECT_EQ(l.Cursor(), ui::crHandPoint);
  EXPECT_EQ(l.Caption(), "");
  // Made on a form whose font is bold and italic: underlined, nothing else.
  ui::TForm styled;
  ui::TFont bold = styled.Font();
  bold.Style = ui::fsBold | ui::fsItalic;
  styled.SetFont(bold);
  cv::TLinkLabel onStyled(&styled);
  EXPECT_EQ(onStyled.Font().Style, ui::fsUnderline);
  EXPECT_EQ(onStyled.Font().Name, bold.Name);
  l.SetHyperLink("a.example");
  EXPECT_EQ(l.Caption(), "a.example");
  l.SetHyperLink("b.example");
  EXPECT_EQ(l.Caption(), "a.example");
  // Read from a table, the caption comes first and stays.
  ui::TForm form;
  cv::RegisterLinkLabelKind();
  ui::LoadLayout(form, {{.Name = "", .Props = {{"ClientWidth", 400}, {"ClientHeight", 60}}},
                        {.Name = "Link",
                         .Kind = "TLinkLabel",
                         .Left = 111,
                         .Top = 102,
                         .Width = 90,
                         .Height = 13,
                         .Props = {{"Caption", "shown"}, {"LinkType", cv::ltmailto}, {"HyperLink", "a@b"}}}});
  auto* link = form.Find<cv::TLinkLabel>("Link");
  EXPECT_EQ(link->Caption(), "shown");
  EXPECT_EQ(link->Address(), "mailto:a@b");
}

TEST_F(LinkLabel, OwnerMustBeAForm) {
  ui::TForm form;
  cv::TLinkLabel onForm(&form);
  EXPECT_EQ(onForm.Parent(), &form);
  ui::TPanel panel;
  EXPECT_THROW({ cv::TLinkLabel bad(&panel); }, cv::EInvalidCast);
  try {
    cv::TLinkLabel bad(&panel);
  } catch (const cv::EInvalidCast& e) {
    EXPECT_STREQ(e.what(), "Invalid class typecast");
  }
}

TEST_F(LinkLabel, PressOpensWithTheParentWindowAndTheReleaseRaisesNoClick) {
  ui::TForm form;
  form.SetClientSize(300, 100);
  ui::TPanel panel;
  panel.SetParent(&form);
  panel.SetBounds(10, 10, 280, 80);
  cv::TLinkLabel l;
  l.SetParent(&panel);
  l.SetBounds(20, 20, 90, 13);
  l.SetHyperLink("www.example.org/rizer");
  int clicks = 0, downs = 0, ups = 0;
  l.OnClick = [&](ui::TComponent*) { ++clicks; };
  l.OnMouseDown = [&](ui::TComponent*, ui::TMouseButton, WPARAM, int, int) { ++downs; };
  l.OnMouseUp = [&](ui::TComponent*, ui::TMouseButton, WPARAM, int, int) { ++ups; };
  SendMessageA(panel.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 25));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].wnd, panel.Handle());
  EXPECT_EQ(opened[0].verb, "Open");
  EXPECT_EQ(opened[0].file, "http://www.example.org/rizer");
  EXPECT_EQ(opened[0].capture, nullptr);  // the shell's window may want the mouse
  EXPECT_EQ(GetCapture(), nullptr);
  SendMessageA(panel.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(25, 25));
  EXPECT_EQ(opened.size(), 1u);  // not again on the release
  EXPECT_EQ(downs, 0);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(clicks, 0);
  // The hand cursor over the link.
  EXPECT_EQ(panel.ControlAtPos(POINT{25, 25}), &l);
}

}  // namespace

namespace {

TEST(LinkLabelLayout, FitsItsWholeCaptionOnceLoaded) {
  ui::TForm form;
  cv::RegisterLinkLabelKind();
  ui::LoadLayout(form, {{.Name = "", .Props = {{"ClientWidth", 400}, {"ClientHeight", 60}}},
                        {.Name = "Link",
                         .Kind = "TLinkLabel",
                         .Left = 11,
                         .Top = 12,
                         .Width = 90,
                         .Height = 13,
                         .Props = {{"Transparent", true},
                                   {"Caption", "www.example.org/rizer"},
                                   {"HyperLink", "www.example.org/rizer"}}}});
  auto* link = form.Find<cv::TLinkLabel>("Link");
  // The width of the text as laid out on a surface like the one painted on.
  ui::MemoryBitmap surface(1, 1);
  ui::FontHandle f = link->Font().Create();
  SIZE sz{};
  {
    ui::SelectObjectScope sel(surface.dc(), f.get());
    GetTextExtentPoint32A(surface.dc(), "www.example.org/rizer", 21, &sz);
  }
  EXPECT_GT(link->Width(), 90);
  // At least the measured text; a little more where the renderer paints
  // wider than it measures (Wine's font substitutes), never much more.
  EXPECT_GE(link->Width(), sz.cx);
  EXPECT_LE(link->Width(), sz.cx + link->Height());
}

}  // namespace
