#include "controls/LinkLabel.h"

#include <shellapi.h>

#include "ui/Form.h"
#include "ui/Layout.h"

namespace cv {

namespace {
void ShellOpen(HWND wnd, const char* verb, const std::string& file) {
  ShellExecuteA(wnd, verb, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

TLinkLabel::TOpener& Opener() {
  static TLinkLabel::TOpener opener = &ShellOpen;
  return opener;
}
}  // namespace

const char* LinkPrefix(tLinkType t) {
  const auto i = static_cast<std::size_t>(t);
  return i < std::size(kLinkPrefixes) ? kLinkPrefixes[i] : "";
}

TLinkLabel::TLinkLabel(ui::TComponent* owner) {
  if (owner) {
    auto* form = dynamic_cast<ui::TForm*>(owner);
    if (!form) throw EInvalidCast();
    SetParent(form);
  }
  linkType_ = lthttp;
  ui::TFont f = Font();
  f.Style = ui::fsUnderline;
  f.Color = ui::clBlue;
  SetFont(f);
  SetCursor(ui::crHandPoint);
  SetCaption("");
}

void TLinkLabel::SetLinkType(tLinkType t) {
  if (t != linkType_) linkType_ = t;
}

void TLinkLabel::SetHyperLink(const std::string& link) {
  hyperLink_ = link;
  if (Caption().empty()) SetCaption(hyperLink_);
}

std::string TLinkLabel::Address() const { return std::string(LinkPrefix(linkType_)) + hyperLink_; }

TLinkLabel::TOpener TLinkLabel::SetOpener(TOpener opener) {
  TOpener previous = Opener();
  Opener() = opener ? std::move(opener) : TOpener(&ShellOpen);
  return previous;
}

void TLinkLabel::WndProc(ui::TMessage& m) {
  if (m.Msg == WM_LBUTTONDOWN) {
    HWND wnd = Parent() ? Parent()->Handle() : nullptr;
    // The press ends here: whatever the address opens may want the mouse.
    if (Parent()) Parent()->ReleaseMouseCapture();
    const TOpener open = Opener();
    open(wnd, "Open", Address());
    m.Result = 0;
    return;
  }
  ui::TLabel::WndProc(m);
}

bool TLinkLabel::SetProperty(std::string_view name, const ui::TValue& v) {
  if (name == "LinkType") SetLinkType(static_cast<tLinkType>(v.AsInt()));
  else if (name == "HyperLink") SetHyperLink(v.AsText());
  else return ui::TLabel::SetProperty(name, v);
  return true;
}

void RegisterLinkLabelKind() {
  ui::RegisterComponentKind("TLinkLabel", [] { return std::unique_ptr<ui::TComponent>(new TLinkLabel()); });
}

}  // namespace cv
