// The edit flows behind cvEditAction and the picker buttons, with every
// global-memory block of this program counted.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "controls/Gradient.h"
#include "dialogs/EditDuibl.h"
#include "dialogs/EditFlows.h"
#include "dialogs/EditFormCombo.h"
#include "dialogs/EditFormOne.h"
#include "localization/LocDefaults.h"
#include "hostapi/HostCallbacks.h"

namespace {

using dlgtest::ModalScript;
using dlgtest::PressCloseBox;
using dlgtest::PressKey;
namespace blocks = dlgtest::blocks;

// The riZER.loc beside this program (the host's executable here).
std::string LocPath() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  return p.substr(0, p.find_last_of("\\/") + 1) + "riZER.loc";
}

void WriteLoc(const std::string& body) {
  FILE* f = std::fopen(LocPath().c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(body.data(), 1, body.size(), f);
  std::fclose(f);
}

class EditFlows : public ::testing::Test {
 protected:
  void SetUp() override {
    blocks::Install();
    cv::hostapi::InterfaceAccess = nullptr;
    std::remove(LocPath().c_str());
    liveBefore_ = blocks::Live();
  }
  void TearDown() override {
    for (auto& s : slots_)
      if (s) GlobalFree(s), s = nullptr;
    std::remove(LocPath().c_str());
    cv::hostapi::InterfaceAccess = nullptr;
    EXPECT_EQ(blocks::Live(), liveBefore_) << "a block was left over";
    EXPECT_EQ(blocks::BadFrees(), 0);
    EXPECT_TRUE(ui::Screen::Forms().empty()) << "a dialog was not destroyed";
  }
  // Fills the slots: nullptr gives an empty slot.
  void Fill(const char* first, const char* second = nullptr) {
    slots_[0] = first ? blocks::HostBlock(first) : nullptr;
    slots_[1] = second ? blocks::HostBlock(second) : nullptr;
  }
  // Runs cvEditAction's flow with `steps` on the dialog it shows.
  bool Edit(int action, std::vector<dlgtest::Step> steps) {
    const std::size_t count = steps.size();
    ModalScript script(std::move(steps));
    const bool result = cv::EditAction(action, slots_);
    EXPECT_FALSE(script.Stuck()) << "the dialog did not end";
    EXPECT_EQ(script.StepsRun(), count) << "the dialog ended before every step ran";
    return result;
  }
  std::string Text(int i) const { return slots_[i] ? slots_[i] : "(empty)"; }

  cv::HostString slots_[2] = {nullptr, nullptr};
  long liveBefore_ = 0;
};

std::vector<std::string> FocusNames(const ui::TForm& form) {
  std::vector<std::string> out;
  for (auto* c : form.FocusOrder()) out.push_back(c->Name());
  return out;
}

void ClickOk(cv::TPropertyForm& f) {
  f.ButtonOK50->SetFocus();
  PressKey(VK_RETURN);
}

// The parts every flow sets, and the focus on opening.
void ExpectCommon(cv::TPropertyForm& f, const char* name, int plateWidth) {
  EXPECT_EQ(f.Caption(), name);
  EXPECT_EQ(f.LabelCommand->Caption(), name);
  EXPECT_EQ(f.GradientLabel->Width(), plateWidth);
  EXPECT_FALSE(f.Kn1->Visible());
  EXPECT_TRUE(f.SpeedVariable->Visible());
  EXPECT_EQ(f.SpeedVariable->Left(), 399);
  EXPECT_EQ(f.FocusedControl(), f.LEdit1);
}

TEST_F(EditFlows, OpenPortOkWritesBothSlotsAsNewBlocks) {
  Fill("50150", "Chat");
  const long allocsBefore = blocks::Allocs();
  ASSERT_TRUE(Edit(1, {[&](ui::TForm& shown) {
                     auto& f = dynamic_cast<cv::TDublForm&>(shown);
                     ExpectCommon(f, "riZEROpenPort", 195);
                     EXPECT_TRUE(f.SpeedButton2->Visible());
                     EXPECT_EQ(f.LEdit1->Text(), "50150");
                     EXPECT_EQ(f.LEdit2->Text(), "Chat");
                     EXPECT_EQ(f.LEdit1->EditLabel().Caption(), cv::LocDefault("001*", cv::LocPlace::Label));
                     EXPECT_EQ(f.LEdit2->EditLabel().Caption(), cv::LocDefault("002*", cv::LocPlace::Label));
                     EXPECT_EQ(f.LabelInfo->Caption(), cv::LocDefault("003*", cv::LocPlace::Info));
                     EXPECT_EQ(FocusNames(f), (std::vector<std::string>{"LEdit1", "ButtonCancel50",
                                                                        "ButtonOK50", "LEdit2"}));
                     dlgtest::SaveScreenshot(f, "riZEROpenPort");
                     ClickOk(f);
                   }}));
  // Same texts in two new blocks (the old ones freed: TearDown counts them).
  EXPECT_EQ(Text(0), "50150");
  EXPECT_EQ(Text(1), "Chat");
  EXPECT_EQ(blocks::Allocs() - allocsBefore, 2);
}

TEST_F(EditFlows, CancelEnterAndCloseBoxKeepEveryBlock) {
  Fill("50150", "Chat");
  cv::HostString old0 = slots_[0], old1 = slots_[1];
  const long allocsBefore = blocks::Allocs();
  // Enter in a field of this dialog is Cancel.
  EXPECT_FALSE(Edit(1, {[&](ui::TForm& shown) {
                      auto& f = dynamic_cast<cv::TDublForm&>(shown);
                      f.LEdit1->SetText("changed");
                      PressKey(VK_RETURN);
                    }}));
  EXPECT_FALSE(Edit(3, {[&](ui::TForm& shown) {
                          dynamic_cast<cv::TDublForm&>(shown).LEdit2->SetText("changed");
                          PressKey(VK_ESCAPE);  // nothing
                        },
                        [&](ui::TForm& shown) {
                          EXPECT_EQ(shown.ModalResult(), ui::mrNone);
                          PressCloseBox(shown);
                        }}));
  EXPECT_FALSE(Edit(4, {[&](ui::TForm& shown) {
                      auto& f = dynamic_cast<cv::TFormOne&>(shown);
                      f.ButtonCancel50->SetFocus();
                      PressKey(VK_RETURN);
                    }}));
  EXPECT_EQ(slots_[0], old0);
  EXPECT_EQ(slots_[1], old1);
  EXPECT_EQ(blocks::Allocs(), allocsBefore);
  EXPECT_EQ(Text(0), "50150");
  EXPECT_EQ(Text(1), "Chat");
}

TEST_F(EditFlows, EmptySlotsShowEmptyFieldsAndOkStoresEmptyTexts) {
  Fill(nullptr, nullptr);
  ASSERT_TRUE(Edit(3, {[&](ui::TForm& shown) {
                     auto& f = dynamic_cast<cv::TDublForm&>(shown);
                     ExpectCommon(f, "riZERSendMessage", 240);
                     EXPECT_EQ(f.LEdit1->Text(), "");
                     EXPECT_EQ(f.LEdit2->Text(), "");
                     EXPECT_EQ(f.LabelInfo->Caption(), cv::LocDefault("006*", cv::LocPlace::Info));
                     dlgtest::SaveScreenshot(f, "riZERSendMessage");
                     ClickOk(f);
                   }}));
  ASSERT_NE(slots_[0], nullptr);
  ASSERT_NE(slots_[1], nullptr);
  EXPECT_EQ(Text(0), "");
  EXPECT_EQ(Text(1), "");
}

TEST_F(EditFlows, GoSubHasOneFieldAndEnterConfirms) {
  Fill("Refresh", "untouched");
  cv::HostString second = slots_[1];
  ASSERT_TRUE(
      Edit(4, {[&](ui::TForm& shown) {
             auto& f = dynamic_cast<cv::TFormOne&>(shown);
             ExpectCommon(f, "riZERGoSub", 150);
             EXPECT_EQ(f.LEdit1->Text(), "Refresh");
             EXPECT_EQ(f.LEdit1->EditLabel().Caption(), cv::LocDefault("007*", cv::LocPlace::Label));
             EXPECT_EQ(FocusNames(f), (std::vector<std::string>{"LEdit1", "ButtonOK50", "ButtonCancel50"}));
             dlgtest::SaveScreenshot(f, "riZERGoSub");
             f.LEdit1->SetText("Update");
             PressKey(VK_RETURN);
           }}));
  EXPECT_EQ(Text(0), "Update");
  EXPECT_EQ(slots_[1], second);  // not a slot of this action
}

// The host's window that started the edit, a tool palette and a second
// document window that the host had disabled: all of one thread.
struct HostWindows {
  HWND main = Make("host", true), palette = Make("palette", true), other = Make("document", false);
  ~HostWindows() {
    for (HWND w : {main, palette, other}) DestroyWindow(w);
  }
  static HWND Make(const char* title, bool enabled) {
    return CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE | (enabled ? 0 : WS_DISABLED),
                           10, 10, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  std::string Enabled() const {
    std::string out;
    for (HWND w : {main, palette, other}) out += IsWindowEnabled(w) ? '+' : '-';
    return out;
  }
};

TEST_F(EditFlows, TheActiveWindowOwnsTheDialogAndTheWholeHostWaitsForIt) {
  HostWindows host;
  ASSERT_EQ(host.Enabled(), "++-");
  SetActiveWindow(host.main);
  ASSERT_EQ(GetActiveWindow(), host.main);
  Fill("Refresh");
  std::string during;
  Edit(4, {[&](ui::TForm& shown) {
             EXPECT_EQ(shown.OwnerWindow(), host.main);
             EXPECT_EQ(GetWindow(shown.Handle(), GW_OWNER), host.main);
             during = host.Enabled();
             PressKey(VK_ESCAPE);  // does not end it
           },
           [&](ui::TForm& shown) { PressCloseBox(shown); }});
  EXPECT_EQ(during, "---");
  EXPECT_EQ(host.Enabled(), "++-");

  SetActiveWindow(host.main);
  during.clear();
  EXPECT_TRUE(Edit(4, {[&](ui::TForm& shown) {
                     during = host.Enabled();
                     ClickOk(dynamic_cast<cv::TPropertyForm&>(shown));
                   }}));
  EXPECT_EQ(during, "---");
  EXPECT_EQ(host.Enabled(), "++-");

  // The About box too.
  SetActiveWindow(host.main);
  during.clear();
  ModalScript script({[&](ui::TForm&) {
    during = host.Enabled();
    PressKey(VK_RETURN);
  }});
  cv::ShowAboutBox();
  EXPECT_FALSE(script.Stuck());
  EXPECT_EQ(during, "---");
  EXPECT_EQ(host.Enabled(), "++-");
}

TEST_F(EditFlows, SystemMessageSelectsTheExactKindOnly) {
  struct Case {
    const char* stored;
    int index;
    std::string afterOk;
  };
  for (const Case& c :
       {Case{"Warning", 1, "Warning"}, Case{"Confimation", 2, "Confimation"}, Case{"Error", 0, "Error"},
        Case{"Information", 3, "Information"}, Case{"warning", -1, ""}, Case{nullptr, -1, ""}}) {
    SCOPED_TRACE(c.stored ? c.stored : "(empty)");
    Fill("Hello", c.stored);
    ASSERT_TRUE(
        Edit(5, {[&](ui::TForm& shown) {
               auto& f = dynamic_cast<cv::TFormCombo&>(shown);
               ExpectCommon(f, "riZERSystemMessage", 270);
               EXPECT_TRUE(f.Label1->Visible());
               EXPECT_TRUE(f.ComboBox1->Visible());
               EXPECT_EQ(f.Label1->Caption(), cv::LocDefault("009*", cv::LocPlace::Label));
               EXPECT_EQ(f.LEdit1->EditLabel().Caption(), cv::LocDefault("005*", cv::LocPlace::Label));
               EXPECT_EQ(f.ComboBox1->Items(),
                         (std::vector<std::string>{"Error", "Warning", "Confimation", "Information"}));
               EXPECT_EQ(f.ComboBox1->ItemIndex(), c.index);
               EXPECT_EQ(FocusNames(f),
                         (std::vector<std::string>{"LEdit1", "ButtonOK50", "ButtonCancel50", "ComboBox1"}));
               if (c.index == 1) dlgtest::SaveScreenshot(f, "riZERSystemMessage");
               ClickOk(f);
             }}));
    EXPECT_EQ(Text(0), "Hello");
    EXPECT_EQ(Text(1), c.afterOk);
    GlobalFree(slots_[0]);
    GlobalFree(slots_[1]);
    slots_[0] = slots_[1] = nullptr;
  }
}

TEST_F(EditFlows, ActionsWithoutADialogShowNothing) {
  Fill("a", "b");
  cv::HostString old0 = slots_[0];
  for (int action : {2, 6, 0, 7, -1}) {
    ModalScript script({[&](ui::TForm&) { ADD_FAILURE() << "a dialog was shown"; }});
    EXPECT_FALSE(cv::HasEditDialog(action)) << action;
    EXPECT_FALSE(cv::EditAction(action, slots_)) << action;
  }
  // No parameter list at all: nothing to show or write.
  EXPECT_FALSE(cv::EditAction(1, nullptr));
  EXPECT_EQ(slots_[0], old0);
}

TEST_F(EditFlows, LocalizationLinesShowInBothDialogsAndChangesShowAtTheNextEdit) {
  WriteLoc("005*Message text:\r\n010*Send a system message.\r\n");
  Fill("x", "y");
  Edit(3, {[&](ui::TForm& shown) {
         auto& f = dynamic_cast<cv::TDublForm&>(shown);
         EXPECT_EQ(f.LEdit2->EditLabel().Caption(), "Message text:");
         EXPECT_EQ(f.LEdit1->EditLabel().Caption(), cv::LocDefault("004*", cv::LocPlace::Label));
         PressCloseBox(shown);
       }});
  Edit(5, {[&](ui::TForm& shown) {
         auto& f = dynamic_cast<cv::TFormCombo&>(shown);
         EXPECT_EQ(f.LEdit1->EditLabel().Caption(), "Message text:");
         EXPECT_EQ(f.LabelInfo->Caption(), "Send a system message.");
         EXPECT_EQ(f.LabelCommand->Caption(), "riZERSystemMessage");  // never localized
         PressCloseBox(shown);
       }});
  WriteLoc("005*Text:\r\n");
  Edit(5, {[&](ui::TForm& shown) {
         auto& f = dynamic_cast<cv::TFormCombo&>(shown);
         EXPECT_EQ(f.LEdit1->EditLabel().Caption(), "Text:");
         EXPECT_EQ(f.LabelInfo->Caption(), cv::LocDefault("010*", cv::LocPlace::Info));
         PressCloseBox(shown);
       }});
}

// ---- Picker buttons --------------------------------------------------------

enum class HostAnswer { False, TrueSameBlock, TrueReplaced, TrueEmptied };
struct PickerLog {
  HostAnswer answer = HostAnswer::False;
  int calls = 0;
  int code = 0;
  std::string textIn;
  SIZE_T sizeIn = 0;
  HWND captureIn = nullptr;
} picker;

cv::Bool8 CV_CALL FakePicker(std::int32_t code, cv::HostSlot slot) {
  ++picker.calls;
  picker.code = code;
  picker.textIn = *slot ? *slot : "(empty)";
  picker.sizeIn = *slot ? GlobalSize(*slot) : 0;
  picker.captureIn = GetCapture();
  switch (picker.answer) {
    case HostAnswer::False: return false;
    case HostAnswer::TrueSameBlock:
      if (std::strlen(*slot) >= 2) std::strcpy(*slot, "V1");
      return true;
    case HostAnswer::TrueReplaced:
      GlobalFree(*slot);
      *slot = blocks::HostBlock("PickedVariable");
      return true;
    case HostAnswer::TrueEmptied:
      GlobalFree(*slot);
      *slot = nullptr;
      return true;
  }
  return false;
}

// Each answer of the host, for both variable pickers of TDublForm, clicked
// with the mouse; no block may be left over after any click.
TEST_F(EditFlows, PickerButtonsFollowTheHostProtocol) {
  struct Case {
    bool registered;
    HostAnswer answer;
    const char* fieldBefore;
    const char* fieldAfter;
  };
  const Case cases[] = {
      {false, HostAnswer::False, "50150", "50150"},
      {true, HostAnswer::False, "50150", "50150"},
      {true, HostAnswer::TrueSameBlock, "50150", "V1"},
      {true, HostAnswer::TrueReplaced, "50150", "PickedVariable"},
      {true, HostAnswer::TrueEmptied, "50150", ""},
      {true, HostAnswer::TrueReplaced, "", "PickedVariable"},
  };
  Fill("p", "v");
  for (const Case& c : cases) {
    for (bool second : {false, true}) {
      SCOPED_TRACE(std::string(second ? "SpeedButton2 " : "SpeedVariable ") + c.fieldBefore + " " +
                   std::to_string(static_cast<int>(c.answer)) + (c.registered ? "" : " no callback"));
      cv::hostapi::InterfaceAccess = c.registered ? &FakePicker : nullptr;
      picker = PickerLog{};
      picker.answer = c.answer;
      std::string after;
      long liveDuring = -1;
      Edit(1, {[&](ui::TForm& shown) {
                 auto& f = dynamic_cast<cv::TDublForm&>(shown);
                 ui::TLabeledEdit* field = second ? f.LEdit2 : f.LEdit1;
                 field->SetText(c.fieldBefore);
                 liveDuring = blocks::Live();
                 dlgtest::ClickControl(second ? *f.SpeedButton2 : *f.SpeedVariable);
               },
               [&](ui::TForm& shown) {
                 auto& f = dynamic_cast<cv::TDublForm&>(shown);
                 after = (second ? f.LEdit2 : f.LEdit1)->Text();
                 EXPECT_EQ(blocks::Live(), liveDuring) << "the click left a block behind";
                 PressCloseBox(shown);
               }});
      EXPECT_EQ(after, c.fieldAfter);
      EXPECT_EQ(picker.calls, c.registered ? 1 : 0);
      if (c.registered) {
        EXPECT_EQ(picker.code, 14);
        EXPECT_EQ(picker.textIn, c.fieldBefore);
        EXPECT_GE(picker.sizeIn, std::strlen(c.fieldBefore) + 1);
        // The host's picker is a window of this thread: it needs the mouse.
        EXPECT_EQ(picker.captureIn, nullptr);
      }
    }
  }
  EXPECT_EQ(Text(0), "p");  // closed, not confirmed
}

// A host whose picker answers in the whole result register, with other bits
// set: only the low byte is the boolean.
std::uint32_t widePickerAnswer = 0;
std::uint32_t CV_CALL WidePicker(std::int32_t, cv::HostSlot slot) {
  GlobalFree(*slot);
  *slot = blocks::HostBlock("Picked");
  return widePickerAnswer;
}

TEST_F(EditFlows, OnlyTheLowByteOfThePickersAnswerCounts) {
  cv::hostapi::InterfaceAccess = reinterpret_cast<cv::InterfaceAccessProc>(&WidePicker);
  cv::TFormOne f;
  f.LEdit1->SetText("abc");
  widePickerAnswer = 0x100;
  f.SpeedVariableClick();
  EXPECT_EQ(f.LEdit1->Text(), "abc");
  widePickerAnswer = 0xA5A5A501;
  f.SpeedVariableClick();
  EXPECT_EQ(f.LEdit1->Text(), "Picked");
}

TEST_F(EditFlows, Kn1OffersPickerEight) {
  cv::hostapi::InterfaceAccess = &FakePicker;
  picker = PickerLog{};
  picker.answer = HostAnswer::TrueReplaced;
  cv::TFormOne f;
  f.LEdit1->SetText("abc");
  f.Kn1Click();
  EXPECT_EQ(picker.code, 8);
  EXPECT_EQ(picker.textIn, "abc");
  EXPECT_EQ(f.LEdit1->Text(), "PickedVariable");
}

}  // namespace
