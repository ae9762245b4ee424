#pragma once
// The about box: the product name embossed, the version, a notice line and
// the project's web address, which opens in the browser and closes the box.
// Made once at start-up, hidden between uses.
#include <string>

#include "platform/ansi_code_page.h"
#include "platform/shell.h"
#include "tray/shadow_label.h"
#include "tray/url_label.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/panel.h"

namespace wakumo {

class TAboutBox : public TForm {
 public:
  TAboutBox(UiToolkit& tk, Shell& shell, const AnsiCodePage& code_page);

  // Closes the box with the result OK.
  void OKButtonClick();

  TPanel Panel1;
  TShadowLabel ShadowLabel1;
  // Shows the stored "Version: #.##" until the main window puts the version in.
  TLabel Version;
  TLabel Notice;
  TURLLabel URLLabel1;
  TButton OKButton;
};

}  // namespace wakumo
