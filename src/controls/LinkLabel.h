// TLinkLabel: a label that looks like a web link (blue, underlined, hand
// cursor) and, on a left-button press, hands prefix + HyperLink to the
// system's default handler ("Open"). The press is not passed on to the
// label's own handling, so it raises no mouse-down event and the release
// that follows raises no click.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "ui/Label.h"

namespace cv {

enum tLinkType : std::uint8_t {
  ltfile,
  ltftp,
  ltgopher,
  lthttp,
  lthttps,
  ltmailto,
  ltnews,
  lttelnet,
  ltwais
};

// The scheme prefix of each link type, in the order of tLinkType.
inline constexpr const char* kLinkPrefixes[] = {"file://", "ftp://", "gopher://", "http://", "https://",
                                                "mailto:", "news:",  "telnet:",   "wais:"};
// The prefix of a link type; empty for a value outside the type.
const char* LinkPrefix(tLinkType t);

// Raised when a link label is made with an owner that is not a form.
class EInvalidCast : public std::runtime_error {
 public:
  EInvalidCast() : std::runtime_error("Invalid class typecast") {}
};

class TLinkLabel : public ui::TLabel {
 public:
  // A form owner becomes the label's parent; no owner leaves it without one.
  explicit TLinkLabel(ui::TComponent* owner = nullptr);

  tLinkType LinkType() const { return linkType_; }
  void SetLinkType(tLinkType t);
  const std::string& HyperLink() const { return hyperLink_; }
  // Stores the address; an empty caption becomes the address.
  void SetHyperLink(const std::string& link);
  // prefix + HyperLink: what a press opens.
  std::string Address() const;

  // Opens an address for a window with the verb "Open" (ShellExecuteA by
  // default). Replace it to keep tests from opening anything; an empty
  // function restores the default. Returns the previous opener.
  using TOpener = std::function<void(HWND wnd, const char* verb, const std::string& file)>;
  static TOpener SetOpener(TOpener opener);

  bool SetProperty(std::string_view name, const ui::TValue& value) override;

 protected:
  void WndProc(ui::TMessage& m) override;

 private:
  tLinkType linkType_ = lthttp;
  std::string hyperLink_;
};

// Makes "TLinkLabel" a kind of the layout tables.
void RegisterLinkLabelKind();

}  // namespace cv
