#include "presets/about_box.h"

#include "presets/about_texts.h"

namespace wakumo {

namespace {

// The standard hand, which the box prefers to the label's own.
constexpr int crHandPoint = -21;
constexpr const char* kBoxFace = "ＭＳ Ｐゴシック";

}  // namespace

TAboutBox::TAboutBox(UiToolkit& tk, Shell& shell, const AnsiCodePage& code_page)
    : TForm(tk, "AboutBox"),
      Panel1(tk, this, "Panel1"),
      ShadowLabel1(tk, &Panel1, "ShadowLabel1", code_page),
      Version(tk, &Panel1, "Version"),
      Notice(tk, &Panel1, "Notice"),
      URLLabel1(tk, &Panel1, "URLLabel1", shell),
      OKButton(tk, this, "OKButton") {
  SetCaption("バージョン情報");
  SetFont({.name = kBoxFace, .height = 12});
  SetBorderIcons(true, false, false);
  SetDialogFrame(true);
  SetClientSize(239, 121);

  Panel1.SetBounds(7, 7, 225, 78);
  Panel1.SetBevelOuter(BevelKind::bvLowered);
  Panel1.SetBevelInner(BevelKind::bvRaised);

  // Embossed: the face colour between a white highlight up-left and a grey
  // shadow down-right.
  ShadowLabel1.SetBounds(20, 8, 113, 15);
  ShadowLabel1.SetCaption(kProductName);
  ShadowLabel1.SetFont({.name = kBoxFace, .height = 15, .bold = true, .color = clBtnFace});
  ShadowLabel1.Shadow().SetColor(clGray);

  Version.SetBounds(136, 11, 65, 12);
  Version.SetCaption("Version: #.##");
  Notice.SetBounds(31, 31, 163, 12);
  Notice.SetCaption(kNoticeText);

  URLLabel1.SetBounds(36, 51, 148, 12);
  URLLabel1.SetCaption(kWebAddress);
  URLLabel1.SetFont({.name = kBoxFace, .height = 12, .color = clNavy, .underline = true});
  URLLabel1.SetHotColor(clBlue);
  URLLabel1.SetCursor(crHandPoint);
  URLLabel1.SetExecutable(true);
  // Fonts taller than the designed one would lose the underline.
  URLLabel1.SetAutoSize(true);

  OKButton.SetBounds(87, 96, 62, 21);
  OKButton.SetCaption("OK");
  OKButton.SetDefault(true);
  // Escape puts the box away as well.
  OKButton.SetCancel(true);

  OKButton.OnClick = [this] { OKButtonClick(); };
  URLLabel1.OnClick = [this] { OKButtonClick(); };
}

void TAboutBox::OKButtonClick() { SetModalResult(ModalResult::mrOk); }

}  // namespace wakumo
