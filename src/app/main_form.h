#pragma once
// The main window: the target display, the sight and the number fields.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/window_system/window_system.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/menu.h"
#include "ui/panel.h"
#include "ui/speed_button.h"

namespace wakumo {

inline constexpr int crSight = 5;

class TForm1 : public TForm {
 public:
  TForm1(WindowSystem& ws, UiToolkit& tk);
  ~TForm1() override;

  // Handlers, named after their control and event.
  void FormCreate();
  void Image1MouseDown(MouseButton button, ShiftState shift, int x, int y);
  void FormMouseMove(ShiftState shift, int x, int y);
  void FormMouseUp(MouseButton button, ShiftState shift, int x, int y);
  void TopChkClick();
  void CloseBtnClick();

  void DrawTargetFrame(const Rect& r);

  // Target state.
  WindowHandle TargetHandle = 0;
  Rect TargetRect = kEmptyMarker;
  WindowHandle OwnHandle = 0;
  bool Picking = false;
  bool ChildMode = false;
  int SavedCursor = 0;
  int HeightWithList = 0;
  int HeightWithoutList = 0;
  int MinHeightWithList = 0;
  bool ResizeOnce = true;

  // Controls, in creation order (tab order follows it).
  TPanel Pick;
  TImage Image1;
  TSpeedButton WListBtn;
  TLabel Label3;
  TLabel Label1;
  TLabel Label4;
  TLabel Label2;
  TCheckBox Timing;
  TPanel ClientLED;
  TLabel Label8;
  TPanel CurSize;
  TSpeedButton GetBtn;
  TPanel Panel2;
  TPanel Panel1;
  TLabel Label10;
  TComboBox ComboBox1;
  TSpeedButton ScutBtn;
  TButton SetBtn;
  TLabel Label5;
  TSpeedButton SlstBtn;
  TLabel Label6;
  TEdit EdSizeX;
  TLabel Label7;
  TEdit EdSizeY;
  TSpeedButton WsBtn;
  TButton UndoBtn;
  TCheckBox BaseChk;
  TSpeedButton BlstBtn;
  TLabel Label11;
  TEdit EdBaseX;
  TLabel Label12;
  TEdit EdBaseY;
  TLabel ClientLine;
  TCheckBox ClientChk;
  TCheckBox FrontChk;
  TLabel Label9;
  TComboBox AutoPos;
  TButton CloseBtn;
  TPopupMenu PopupMenu1;
  TMenuItem* TopChk = nullptr;
  TMenuItem* mSavePos = nullptr;
  TMenuItem* mListEdit = nullptr;
  TMenuItem* mHelp = nullptr;
  TMenuItem* About1 = nullptr;

 private:
  void LayOut();
  void SetClientLEDColor(bool on);

  WindowSystem& ws_;
  TScreen screen_;
};

}  // namespace wakumo
