// Keyboard-cue repaint fix: forced active (Wine runs without themes), it
// hooks each form once, repaints once per idle moment, limits itself to
// buttons when asked, follows forms that close and open, and gives a form
// its window procedure back when it is freed first.
#include <gtest/gtest.h>

#include <map>

#include "FakeFixNeeded.h"
#include "controls/VistaAltFixUnit.h"
#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Layout.h"
#include "ui/Panel.h"
#include "ui/Screen.h"

namespace {

// A shown form with a panel holding an edit and a button, and a second
// button on the form; counts WM_PAINT per control.
struct Cues : ::testing::Test {
  std::unique_ptr<ui::TForm> form = std::make_unique<ui::TForm>();
  std::map<std::string, int> paints;

  void SetUp() override {
    rizer::test::fake::SetFixNeeded(true);
    ui::LoadLayout(
        *form, {
                   {.Name = "", .Props = {{"ClientWidth", 200}, {"ClientHeight", 120}}},
                   {.Name = "Panel1", .Kind = "TPanel", .Left = 0, .Top = 0, .Width = 200, .Height = 60},
                   {.Name = "Edit",
                    .Kind = "TEdit",
                    .Parent = "Panel1",
                    .Left = 5,
                    .Top = 5,
                    .Width = 100,
                    .Height = 20},
                   {.Name = "Inner",
                    .Kind = "TButton",
                    .Parent = "Panel1",
                    .Left = 110,
                    .Top = 5,
                    .Width = 75,
                    .Height = 25},
                   {.Name = "Outer", .Kind = "TButton", .Left = 110, .Top = 70, .Width = 75, .Height = 25},
               });
    Count(form.get(), "Form");
    for (const char* n : {"Panel1", "Edit", "Inner", "Outer"}) Count(form->Find<ui::TControl>(n), n);
    form->SetVisible(true);
    Settle();
  }
  void TearDown() override { rizer::test::fake::SetFixNeeded(false); }

  void Count(ui::TControl* c, std::string name) {
    ui::TWndMethod inner = c->WindowProc;
    c->WindowProc = [this, inner, name](ui::TMessage& m) {
      if (m.Msg == WM_PAINT) ++paints[name];
      inner(m);
    };
  }
  // Lets pending paints happen, then forgets them.
  void Settle() {
    UpdateWindow(form->Handle());
    ui::Application::ProcessMessages();
    paints.clear();
  }
  void Cue(ui::TForm& f) {
    SendMessageA(f.Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
  }
};

TEST_F(Cues, InactiveWithoutThemesHooksNothing) {
  rizer::test::fake::SetFixNeeded(false);
  cv::TVistaAltFix fix;
  EXPECT_FALSE(fix.Active());
  EXPECT_EQ(fix.FormRecords(), nullptr);
  ui::Application::Idle();
  Cue(*form);
  ui::Application::Idle();
  EXPECT_TRUE(paints.empty());
}

TEST_F(Cues, EachFormIsHookedOnceAndRepaintedOncePerIdleMoment) {
  cv::TVistaAltFix fix;
  ASSERT_TRUE(fix.Active());
  ui::Application::Idle();
  ui::Application::Idle();
  ASSERT_EQ(fix.FormRecords()->size(), ui::Screen::Forms().size());
  EXPECT_TRUE(paints.empty());  // nothing to repaint without a cue
  Cue(*form);
  Cue(*form);
  Cue(*form);
  ui::Application::Idle();
  EXPECT_EQ(paints["Form"], 1);
  EXPECT_EQ(paints["Panel1"], 1);
  EXPECT_EQ(paints["Edit"], 1);
  EXPECT_EQ(paints["Inner"], 1);
  EXPECT_EQ(paints["Outer"], 1);
  paints.clear();
  ui::Application::Idle();
  EXPECT_TRUE(paints.empty());
}

TEST_F(Cues, WithoutRepaintAllOnlyButtonsAreRepaintedAlsoInsidePanels) {
  cv::TVistaAltFix fix;
  fix.SetRepaintAll(false);
  ui::Application::Idle();
  Cue(*form);
  ui::Application::Idle();
  EXPECT_EQ(paints["Inner"], 1);
  EXPECT_EQ(paints["Outer"], 1);
  EXPECT_EQ(paints.count("Form") + paints.count("Panel1") + paints.count("Edit"), 0u);
}

TEST_F(Cues, ClosedFormsAreDroppedAndNewOnesHooked) {
  cv::TVistaAltFix fix;
  ui::Application::Idle();
  const size_t base = fix.FormRecords()->size();
  auto second = std::make_unique<ui::TForm>();
  ui::Application::Idle();
  EXPECT_EQ(fix.FormRecords()->size(), base + 1);
  second.reset();
  ui::Application::Idle();
  EXPECT_EQ(fix.FormRecords()->size(), base);
  ui::TForm third;
  int thirdPaints = 0;
  ui::TWndMethod inner = third.WindowProc;
  third.WindowProc = [&, inner](ui::TMessage& m) {
    if (m.Msg == WM_PAINT) ++thirdPaints;
    inner(m);
  };
  third.SetClientSize(50, 50);
  third.SetVisible(true);
  UpdateWindow(third.Handle());
  ui::Application::ProcessMessages();
  thirdPaints = 0;
  ui::Application::Idle();
  EXPECT_EQ(fix.FormRecords()->back()->TargetForm(), &third);
  Cue(third);
  ui::Application::Idle();
  EXPECT_EQ(thirdPaints, 1);
}

TEST_F(Cues, FreeingTheFixGivesTheFormItsWindowProcedureBack) {
  const auto& before = form->WindowProc.target_type();
  {
    cv::TVistaAltFix fix;
    ui::Application::Idle();
    EXPECT_NE(form->WindowProc.target_type(), before);
  }
  EXPECT_EQ(form->WindowProc.target_type(), before);
  Cue(*form);  // reaches only the form's own procedure
  ui::Application::Idle();
  EXPECT_TRUE(paints.empty());
}

TEST_F(Cues, AFormFreedFirstIsNotTouchedWhenTheFixGoes) {
  cv::TVistaAltFix fix;
  ui::Application::Idle();
  form.reset();  // the record stays until the next sweep
  ui::Application::Idle();
  EXPECT_EQ(fix.FormRecords()->size(), ui::Screen::Forms().size());
}

}  // namespace
