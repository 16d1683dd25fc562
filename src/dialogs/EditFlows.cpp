// The edit flows of the actions that have parameters: one row of data per
// action, one common flow over the three dialog classes.
#include "dialogs/EditFlows.h"

#include <windows.h>

#include <cstring>
#include <iterator>
#include <memory>
#include <string>

#include "controls/Gradient.h"
#include "dialogs/EditDuibl.h"
#include "dialogs/EditFormCombo.h"
#include "dialogs/EditFormOne.h"
#include "dialogs/SystemMessageKinds.h"
#include "localization/Localization.h"
#include "hostapi/HostStrings.h"

namespace cv {

namespace {

// What follows the first field: nothing (TFormOne), a second text field
// (TDublForm) or the list of message-box kinds (TFormCombo).
enum class Second { None, Field, KindList };

struct EditFlowRow {
    std::int32_t action;
    const char* name;  // caption and LabelCommand
    Second second;
    const char* firstKey;   // caption of LEdit1
    const char* secondKey;  // caption of LEdit2, or Label1 of the list group
    const char* infoKey;    // LabelInfo
};

constexpr EditFlowRow kEditFlows[] = {
    {ActionOpenPort, "riZEROpenPort", Second::Field, "001*", "002*", "003*"},
    {ActionSendMessage, "riZERSendMessage", Second::Field, "004*", "005*", "006*"},
    {ActionGoSub, "riZERGoSub", Second::None, "007*", nullptr, "008*"},
    {ActionSystemMessage, "riZERSystemMessage", Second::KindList, "005*", "009*", "010*"},
};
static_assert(
    [] {
        if (std::size(kEditFlows) != std::size(kDialogActions)) return false;
        for (std::size_t i = 0; i < std::size(kEditFlows); ++i) {
            if (kEditFlows[i].action != kDialogActions[i]) return false;
        }
        return true;
    }(),
    "one edit flow for each action that has a dialog");

// The plate behind the command name grows by this much per character.
constexpr int kPlatePixelsPerChar = 15;

std::unique_ptr<TPropertyForm> NewDialog(Second second) {
    switch (second) {
        case Second::Field: return std::make_unique<TDublForm>();
        case Second::KindList: return std::make_unique<TFormCombo>();
        case Second::None: break;
    }
    return std::make_unique<TFormOne>();
}

// Selects the item equal to `kind`, case and every character counting;
// nothing is selected when none is equal.
void FillKindList(TFormCombo& form, const char* labelKey, const char* kind) {
    form.Label1->SetCaption(LocalizedText(labelKey, LocPlace::Label));
    form.Label1->SetVisible(true);
    form.ComboBox1->SetVisible(true);
    for (const char* item : kSystemMessageKinds) form.ComboBox1->AddItem(item);
    const auto& items = form.ComboBox1->Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == kind) {
            form.ComboBox1->SetItemIndex(static_cast<int>(i));
            break;
        }
    }
}

bool RunEditFlow(const EditFlowRow& flow, HostString* params) {
    std::unique_ptr<TPropertyForm> form = NewDialog(flow.second);  // destroyed on every path
    form->SetOwnerWindow(GetActiveWindow());
    form->SetCaption(flow.name);

    form->Kn1->SetVisible(false);
    form->SpeedVariable->SetLeft(399);
    form->SpeedVariable->SetVisible(true);

    form->LEdit1->EditLabel().SetCaption(LocalizedText(flow.firstKey, LocPlace::Label));
    form->LEdit1->SetText(HostText(params[0]));

    auto* dubl = dynamic_cast<TDublForm*>(form.get());
    auto* combo = dynamic_cast<TFormCombo*>(form.get());
    if (dubl) {
        dubl->SpeedButton2->SetVisible(true);
        dubl->LEdit2->EditLabel().SetCaption(LocalizedText(flow.secondKey, LocPlace::Label));
        dubl->LEdit2->SetText(HostText(params[1]));
    }
    if (combo) FillKindList(*combo, flow.secondKey, HostText(params[1]));

    form->LabelCommand->SetCaption(flow.name);
    form->GradientLabel->SetWidth(kPlatePixelsPerChar *
                                  static_cast<int>(form->LabelCommand->Caption().size()));
    form->LabelInfo->SetCaption(LocalizedText(flow.infoKey, LocPlace::Info));

    if (form->ShowModal() != ui::mrOk) return false;
    // Every field is read before any slot changes: reading one allocates, and
    // a failure there must leave every slot as it was. Then every covered
    // slot gets a new block, changed or not (storing allocates nothing that
    // throws: a failed block leaves the slot empty).
    const std::string first = form->LEdit1->Text();
    std::string second;
    if (dubl) second = dubl->LEdit2->Text();
    if (combo) second = combo->ComboBox1->Text();
    AssignHostString(&params[0], first);
    if (dubl || combo) AssignHostString(&params[1], second);
    return true;
}

}  // namespace

bool EditAction(std::int32_t action, HostString* params) {
    for (const EditFlowRow& flow : kEditFlows) {
        if (flow.action == action) return params && RunEditFlow(flow, params);
    }
    return false;
}

}  // namespace cv
