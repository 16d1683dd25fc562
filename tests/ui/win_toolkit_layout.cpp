// Layout tables: controls created with their parents, bounds and properties,
// Loading() during the table and Loaded() once afterwards, external kinds.
#include <gtest/gtest.h>

#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/Layout.h"
#include "ui/Panel.h"
#include "ui/Screen.h"
#include "ui/Shape.h"

namespace {

// Records what it saw: Loading() while its properties were set, how often
// Loaded ran and whether the whole table existed by then.
class TProbe : public ui::TGraphicControl {
 public:
  void Paint(HDC) override {}
  bool SetProperty(std::string_view name, const ui::TValue& v) override {
    if (name == "Probe") {
      loadingAtProp = Loading();
      value = static_cast<int>(v.AsInt());
      return true;
    }
    return TGraphicControl::SetProperty(name, v);
  }
  void Loaded() override {
    ++loadedCount;
    lastRowPresent = ParentForm() && ParentForm()->FindComponent("Last") != nullptr;
  }
  int value = 0;
  bool loadingAtProp = false;
  int loadedCount = 0;
  bool lastRowPresent = false;
};

std::vector<ui::TLayoutRow> Table() {
  return {
      {.Name = "Panel1", .Kind = "TPanel", .Left = 91, .Top = 42, .Width = 430, .Height = 46},
      {.Name = "Probe1",
       .Parent = "Panel1",
       .Left = 1,
       .Top = 2,
       .Width = 3,
       .Height = 4,
       .Props = {{"Probe", 7}},
       .Create = [] { return std::unique_ptr<ui::TComponent>(new TProbe()); }},
      {.Name = "Label1",
       .Kind = "TLabel",
       .Parent = "Panel1",
       .Left = 5,
       .Top = 2,
       .Width = 38,
       .Height = 16,
       .Props = {{"Font.Name", "Arial"}, {"Font.Height", 13}, {"Caption", "Label1"}, {"Visible", false}}},
      {.Name = "LEdit1",
       .Kind = "TLabeledEdit",
       .Parent = "Panel1",
       .Left = 5,
       .Top = 20,
       .Width = 325,
       .Height = 23,
       .Props = {{"EditLabel.Caption", "LEdit1"}, {"EditLabel.Font.Height", 13}}},
      {.Name = "Last", .Kind = "TShape", .Left = 8, .Top = 8, .Width = 80, .Height = 320},
      {.Name = "", .Props = {{"Caption", "Action Properties"}, {"ClientWidth", 524}, {"ClientHeight", 336}}},
  };
}

TEST(Layout, CreatesControlsWithParentsBoundsAndProperties) {
  ui::TForm form;
  ui::LoadLayout(form, Table());
  auto* panel = form.Find<ui::TPanel>("Panel1");
  auto* label = form.Find<ui::TLabel>("Label1");
  auto* edit = form.Find<ui::TLabeledEdit>("LEdit1");
  ASSERT_TRUE(panel && label && edit);
  EXPECT_EQ(panel->Parent(), &form);
  EXPECT_EQ(label->Parent(), panel);
  EXPECT_EQ(label->Font().Name, "Arial");
  EXPECT_FALSE(label->Visible());
  EXPECT_EQ(form.Caption(), "Action Properties");
  RECT c;
  GetClientRect(form.Handle(), &c);
  EXPECT_EQ(c.right, 524);
  EXPECT_EQ(c.bottom, 336);
  // The windowed edit sits where the row says, inside the panel's window.
  RECT er;
  GetWindowRect(edit->Handle(), &er);
  MapWindowPoints(nullptr, panel->Handle(), reinterpret_cast<POINT*>(&er), 2);
  EXPECT_EQ(er.left, 5);
  EXPECT_EQ(er.top, 20);
  EXPECT_EQ(er.right - er.left, 325);
  // The caption label stands 3 px above the field, fitted to its text.
  const ui::TLabel& cap = edit->EditLabel();
  EXPECT_EQ(cap.Parent(), panel);
  EXPECT_EQ(cap.Left(), 5);
  EXPECT_EQ(cap.Top() + cap.Height() + 3, 20);
  EXPECT_GT(cap.Width(), 10);
}

TEST(Layout, LoadedRunsOnceAfterTheWholeTable) {
  ui::TForm form;
  ui::LoadLayout(form, Table());
  auto* probe = form.Find<TProbe>("Probe1");
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(probe->value, 7);
  EXPECT_TRUE(probe->loadingAtProp);
  EXPECT_EQ(probe->loadedCount, 1);
  EXPECT_TRUE(probe->lastRowPresent);
  EXPECT_FALSE(probe->Loading());
  EXPECT_FALSE(form.Loading());
}

TEST(Layout, AutoSizeWaitsForLoadedAndFollowsTheText) {
  ui::TForm form;
  ui::LoadLayout(form,
                 {{.Name = "L",
                   .Kind = "TLabel",
                   .Left = 1,
                   .Top = 1,
                   .Width = 500,
                   .Height = 500,
                   .Props = {{"Caption", "x"}}},
                  {.Name = "W",
                   .Kind = "TLabel",
                   .Width = 60,
                   .Height = 40,
                   .Props = {{"AutoSize", false}, {"WordWrap", true}, {"Caption", "a long text to wrap"}}}});
  auto* l = form.Find<ui::TLabel>("L");
  EXPECT_LT(l->Width(), 500);
  EXPECT_LT(l->Height(), 500);
  const int w1 = l->Width();
  l->SetCaption("a much longer caption");
  EXPECT_GT(l->Width(), w1);
  auto* w = form.Find<ui::TLabel>("W");
  EXPECT_EQ(w->Width(), 60);
  EXPECT_EQ(w->Height(), 40);
}

TEST(Layout, BadRowsAreReportedAndExternalKindsRegister) {
  ui::TForm form;
  EXPECT_THROW(ui::LoadLayout(form, {{.Name = "A", .Kind = "TNoSuchKind"}}), ui::ELayoutError);
  EXPECT_THROW(ui::LoadLayout(form, {{.Name = "B", .Kind = "TLabel", .Parent = "Nowhere"}}),
               ui::ELayoutError);
  EXPECT_THROW(ui::LoadLayout(form, {{.Name = "C", .Kind = "TLabel", .Props = {{"Bogus", 1}}}}),
               ui::ELayoutError);
  ui::RegisterComponentKind("TProbeKind", [] { return std::unique_ptr<ui::TComponent>(new TProbe()); });
  ui::LoadLayout(form, {{.Name = "P", .Kind = "TProbeKind", .Props = {{"Probe", 3}}}});
  ASSERT_NE(form.Find<TProbe>("P"), nullptr);
  EXPECT_EQ(form.Find<TProbe>("P")->loadedCount, 1);
}

TEST(Screen, FormsEnterAndLeaveTheList) {
  const size_t before = ui::Screen::Forms().size();
  {
    ui::TForm a, b;
    ASSERT_EQ(ui::Screen::Forms().size(), before + 2);
    EXPECT_EQ(ui::Screen::Forms()[before], &a);
    EXPECT_TRUE(ui::Screen::Contains(&b));
  }
  EXPECT_EQ(ui::Screen::Forms().size(), before);
}

}  // namespace
