// TAboutBoxForm: the About box, with the plug-in's title, a picture, the
// makers' details and a link to their site. Button1 (OK) closes it, as does
// the close box; Escape does nothing.
#pragma once

#include "ui/Button.h"
#include "ui/Form.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/Shape.h"

namespace cv {

class TAboutBoxForm : public ui::TForm {
 public:
    TAboutBoxForm();

    ui::TShape* Shape1 = nullptr;
    ui::TLabel* Label1 = nullptr;
    ui::TImage* Image1 = nullptr;
    ui::TLabel* LinkLabel1 = nullptr;
    ui::TLabel* lbl1 = nullptr;
    ui::TLabel* Label3 = nullptr;
    ui::TLabel* Label4 = nullptr;
    ui::TButton* Button1 = nullptr;

    void Button1Click();
};

}  // namespace cv
