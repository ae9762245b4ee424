#pragma once
// The main window: the target display, the sight and the number fields.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/undo_list.h"
#include "app/window_system/window_system.h"
#include "controls/arrow_key_hook.h"
#include "controls/number_edit.h"
#include "controls/slide_up_down.h"
#include "platform/platform.h"
#include "presets/about_box.h"
#include "presets/list_editor.h"
#include "presets/settings_store.h"
#include "presets/shortcut_list.h"
#include "tray/tray_icon.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/hint_window.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/list_view.h"
#include "ui/menu.h"
#include "ui/panel.h"
#include "ui/speed_button.h"

namespace wakumo {

// The sight's screen cursor number, registered by the main window.
inline constexpr int crSight = 5;

// The ranges the spinners confine the four numbers to.
inline constexpr int kSizeMin = 1;
inline constexpr int kSizeMax = 9999;
inline constexpr int kPosMin = -9999;
inline constexpr int kPosMax = 9999;

class TForm1 : public TForm {
  // Made before the controls that use them and gone after them.
  Platform platform_;
  ArrowKeyHook arrow_keys_;

 public:
  // `tray` serves the notification-area icon and must outlive the form.
  TForm1(WindowSystem& ws, UiToolkit& tk, const Platform& platform, TrayServices& tray);
  ~TForm1() override;

  // Handlers, named after their control and event.
  void FormCreate();
  void Image1MouseDown(MouseButton button, ShiftState shift, int x, int y);
  void FormMouseMove(ShiftState shift, int x, int y);
  void FormMouseUp(MouseButton button, ShiftState shift, int x, int y);
  void TopChkClick();
  void CloseBtnClick();
  void SetBtnClick();
  void GetBtnClick();
  void WsBtnClick();
  void mMaxClick(TMenuItem& Sender);
  void TimingClick();
  void BaseChkClick(TCheckBox& Sender);
  void AutoPosChange();
  void EditEnter(TEdit& Sender);
  void UndoBtnClick();
  void WListBtnClick();
  void WinListClick();
  void FormCanResize(int& NewWidth, int& NewHeight, bool& Resize);
  void FormResize();
  // The main window moved to a monitor of another DPI: the heights follow,
  // the list stays shown or hidden.
  void FormDpiChanged(int old_dpi, int new_dpi);
  // Releases the menu hint window, the undo history and the window list and
  // writes the settings file; runs once, when the main window closes.
  void FormClose();

  // Settings file and presets.
  void LoadSettings();
  void SaveSettings();
  void ListBtnClick(TSpeedButton& Sender);
  void mSListClick(TMenuItem& Sender);
  void mBListClick(TMenuItem& Sender);
  void mSaddClick();
  void mBaddClick();
  void mSinvertClick();
  void mBinvertClick();
  void ComboBox1Select();
  void ComboBox1CloseUp();
  void ScutBtnClick();
  void mSetAddClick();
  void mSetDelClick();
  void mSetSortClick();
  void mSavePosClick();
  void mListEditClick();

  // Menu hints, help and the about box; the tray menu's entries call the
  // last two as well.
  void AppEventsHint();
  void mHelpClick();
  void About1Click();
  // Tray mode.
  void AppEventsMinimize();
  void AppEventsRestore();
  void TrayIcon1MouseEnter();
  void TrayIcon1MouseClick(MouseButton Button, ShiftState Shift, int X, int Y);
  void mTraySetClick();
  void mTraySizeClick(TMenuItem& Sender);
  void mTrayBaseClick(TMenuItem& Sender);
  void mScutListClick(TMenuItem& Sender);

  void DrawTargetFrame(const Rect& r);
  // One size/position/stacking change of a window, recorded for undo first.
  // placement is the AutoPos index; x, y count only with useBase (or for a
  // placement beyond the known ones).
  void ApplyWindowPos(WindowHandle window, int width, int height, int x, int y, int placement, bool useBase);
  void SetBaseEnabled(bool on);

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
  CUndoList UndoList;
  // Handles of WinList's rows, in row order; only while the list is shown.
  std::optional<std::vector<WindowHandle>> WinHandles;

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
  TNumberEdit EdSizeX;
  TSlideUpDown SizeX;
  TLabel Label7;
  TNumberEdit EdSizeY;
  TSlideUpDown SizeY;
  TSpeedButton WsBtn;
  TButton UndoBtn;
  TCheckBox BaseChk;
  TSpeedButton BlstBtn;
  TLabel Label11;
  TNumberEdit EdBaseX;
  TSlideUpDown BaseX;
  TLabel Label12;
  TNumberEdit EdBaseY;
  TSlideUpDown BaseY;
  TLabel ClientLine;
  TCheckBox ClientChk;
  TCheckBox FrontChk;
  TLabel Label9;
  TComboBox AutoPos;
  TButton CloseBtn;
  TListView WinList;
  TPopupMenu PopupMenu1;
  TMenuItem* TopChk = nullptr;
  TMenuItem* mSavePos = nullptr;
  TMenuItem* mListEdit = nullptr;
  TMenuItem* mHelp = nullptr;
  TMenuItem* About1 = nullptr;
  TPopupMenu PopupMenu2;
  TMenuItem* mHVmax = nullptr;
  TMenuItem* mVmax = nullptr;
  TMenuItem* mHmax = nullptr;
  // Size presets after three fixed entries.
  TPopupMenu SizeList;
  TMenuItem* mSadd = nullptr;
  TMenuItem* mSinvert = nullptr;
  // Position presets after three fixed entries.
  TPopupMenu BaseList;
  TMenuItem* mBadd = nullptr;
  TMenuItem* mBinvert = nullptr;
  TPopupMenu ScutMenu;
  TMenuItem* mSetAdd = nullptr;
  TMenuItem* mSetDel = nullptr;
  TMenuItem* mSetSort = nullptr;
  // The entries of ComboBox1 with their TShortCut.
  ShortcutList Shortcuts;
  // The size or position menu while it is open; null otherwise.
  TPopupMenu* OpenListMenu = nullptr;
  // The list editor, made after the main window and hidden until used.
  std::unique_ptr<TForm4> Form4;
  // The application's hint changes, for the preset names beside their
  // entries of an open size or position menu.
  TApplicationEvents AppEvents;
  // Made in FormCreate; released first thing in FormClose.
  std::unique_ptr<THintWindow> MenuHintWindow;
  // wakumo.chm beside the executable.
  std::string HelpFilePath;
  // Made after the main window, before the list editor; hidden until used.
  std::unique_ptr<TAboutBox> AboutBox;
  // The notification-area icon's menu.
  TPopupMenu TrayMenu;
  TMenuItem* mTraySet = nullptr;
  TMenuItem* mTrayUndo = nullptr;
  TMenuItem* mScutList = nullptr;
  TMenuItem* mSizeList = nullptr;
  TMenuItem* mBaseList = nullptr;
  TMenuItem* mListEdit2 = nullptr;
  TMenuItem* mAbout2 = nullptr;
  TMenuItem* mHelp2 = nullptr;
  TMenuItem* mExit = nullptr;
  // Made when tray mode first starts: nothing of the shell is needed before.
  std::unique_ptr<TTrayIcon> TrayIcon1;
  // The window in front when the pointer last came onto the icon; 0 until then.
  WindowHandle TrayTarget = 0;

 private:
  // The designed geometry at 96 DPI; peers scale it to the real DPI.
  static constexpr int kClientWidth = 348;
  static constexpr int kClientHeight = 440;
  // The window list fills the client area from here down.
  static constexpr int kWinListTop = 245;
  static constexpr int kWinListHeight = 192;
  // Tag bits of the maximise-size entries.
  static constexpr int kMaxVertical = 1;
  static constexpr int kMaxHorizontal = 2;

  // The designed controls and menus (main_form_layout.cpp).
  void LayOut();
  void MakeMenus();
  void MakeTrayMenu();
  void MakeTrayIcon();
  // The three submenus refilled and both selections taken from the fields.
  void RebuildTrayMenus();
  // Puts the icon into the notification area; when it cannot be, the main
  // window comes back and the error is shown. False then.
  bool ShowTrayIcon();
  bool TrayIconShown() const;
  // "サイズ:800x600/センタリング": the present tray selection.
  std::string TrayTipText();
  // No window, or one of ours (a control of ours picked with Shift).
  bool IsNoneOrOwn(WindowHandle w) const;
  void SetClientLEDColor(bool on);
  void SetUndoEnabled(bool on);
  // ApplyWindowPos on TargetHandle with the numbers and options shown.
  void ApplyToTarget();
  void SetFormHeight(int height);
  // HeightWithoutList and MinHeightWithList at the form's present DPI.
  void ComputeHeightsWithoutList();
  // The menu hint window and the help file's path, at the end of FormCreate.
  void CreateHintAndHelp();

  // The four numbers as the spinners hold them: sizes 1..9999, positions
  // -9999..9999. Reading takes in what was typed; writing confines the number
  // and rewrites the field.
  SlideUpDownContext SpinnerContext();
  void LoadField(TNumberEdit& field, TSlideUpDown& spinner, bool size);
  int SizeXPosition();
  void SetSizeXPosition(int value);
  int SizeYPosition();
  void SetSizeYPosition(int value);
  int BaseXPosition();
  void SetBaseXPosition(int value);
  int BaseYPosition();
  void SetBaseYPosition(int value);

  WindowSystem& ws_;
  UiToolkit& tk_;
  TrayServices& tray_services_;
  TScreen screen_;
  TApplication application_;
  SettingsStore settings_;
  bool closed_ = false;
};

}  // namespace wakumo
