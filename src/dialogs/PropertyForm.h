// The frame shared by the three property dialogs: the left strip, the first
// field group (Panel1) and the footer (pnl1). Each dialog class adds its own
// group and decides the footer's button order; the layout itself is data
// (PropertyLayout.h). The controls are public, by their layout names, for the
// edit flows.
#pragma once

#include <string>
#include <vector>

#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/Layout.h"
#include "ui/Panel.h"
#include "ui/Shape.h"
#include "ui/SpeedButton.h"

namespace cv {

class TGradient;

class TPropertyForm : public ui::TForm {
 public:
    ~TPropertyForm() override;

    // Form level.
    ui::TShape* Shape1 = nullptr;
    ui::TImage* Image2 = nullptr;
    ui::TPanel* Panel1 = nullptr;
    ui::TPanel* pnl1 = nullptr;
    ui::TComponent* VistaAltFix1 = nullptr;
    // First field group.
    ui::TSpeedButton* SpeedVariable = nullptr;
    TGradient* grdntLabel = nullptr;
    TGradient* grdnt2 = nullptr;
    TGradient* grdnt3 = nullptr;
    ui::TSpeedButton* Kn1 = nullptr;
    TGradient* grdnt5 = nullptr;
    ui::TLabeledEdit* LEdit1 = nullptr;
    // Footer.
    TGradient* GradientLabel = nullptr;
    TGradient* grdnt1 = nullptr;
    ui::TLabel* LabelCommand = nullptr;
    ui::TLabel* LinkLabel1 = nullptr;
    ui::TLabel* lbl1 = nullptr;
    ui::TImage* Image1 = nullptr;
    ui::TLabel* LabelInfo = nullptr;
    ui::TButton* ButtonOK50 = nullptr;
    ui::TButton* ButtonCancel50 = nullptr;

    // Picker buttons of the first group.
    void Kn1Click();
    void SpeedVariableClick();

 protected:
    // Builds the layout of `rows` (form name `formName`) and binds the members.
    TPropertyForm(const char* formName, const std::vector<ui::TLayoutRow>& rows);
    // Finds a component of the layout that must exist.
    template <typename T>
    T* Need(const char* name) const {
        T* found = Find<T>(name);
        if (!found) throw ui::ELayoutError(std::string("layout: missing ") + name);
        return found;
    }
};

}  // namespace cv
