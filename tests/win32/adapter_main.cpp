// The Win32 adapter tests, one program: the tests of each file, run in one
// order (some leave the focus, the clipboard or the cursor where the next
// expects it). Prints one line per failed check and ends with the summary
// of checks.h.
#include "checks.h"

namespace wakumo {

// window_system_adapter_test.cpp
void TestXorFrameDrawnTwiceRestoresScreen();
void TestResourcesAndCursor();
void TestWindowSystemTexts();

// form_adapter_test.cpp
void TestControlsCarryTheirNames();
void TestRefusedCreationIsReported();
void TestFormGoingFirst();
void TestPeerBehaviour();
void TestSizeableForm();
void TestBorderDrags();
void TestModalForm();
void TestShowMessage();
void TestLabelDoubleClick();

// menu_adapter_test.cpp
void TestPopupMenuChoice();
void TestTrayModeSupport();

// paint_adapter_test.cpp
void TestPaintedLooks();
void TestOffscreenCanvas();
void TestPaintBoxes();
void TestCanvasInDesignPixels();

// edit_adapter_test.cpp
void TestEditKeyboard();
void TestEditPeerContract();

// spinner_adapter_test.cpp
void TestSpinnerOnWindows();

// grid_adapter_test.cpp
void TestGridRows();
void TestGridEditing();

// list_view_adapter_test.cpp
void TestListView();
void TestListViewDividerDrags();

// about_adapter_test.cpp
void TestHintWindow();
void TestMenuEntriesAndHints();
void TestDialogButtonsAndFrame();
void TestApplicationHintFollowsTheMouse();

}  // namespace wakumo

int wmain() {
  wakumo::TestXorFrameDrawnTwiceRestoresScreen();
  wakumo::TestControlsCarryTheirNames();
  wakumo::TestRefusedCreationIsReported();
  wakumo::TestFormGoingFirst();
  wakumo::TestPeerBehaviour();
  wakumo::TestResourcesAndCursor();
  wakumo::TestWindowSystemTexts();
  wakumo::TestPopupMenuChoice();
  wakumo::TestPaintedLooks();
  wakumo::TestEditKeyboard();
  wakumo::TestSizeableForm();
  wakumo::TestBorderDrags();
  wakumo::TestListView();
  wakumo::TestListViewDividerDrags();
  wakumo::TestOffscreenCanvas();
  wakumo::TestPaintBoxes();
  wakumo::TestCanvasInDesignPixels();
  wakumo::TestEditPeerContract();
  wakumo::TestSpinnerOnWindows();
  wakumo::TestGridRows();
  wakumo::TestGridEditing();
  wakumo::TestModalForm();
  wakumo::TestShowMessage();
  wakumo::TestLabelDoubleClick();
  wakumo::TestHintWindow();
  wakumo::TestMenuEntriesAndHints();
  wakumo::TestDialogButtonsAndFrame();
  wakumo::TestApplicationHintFollowsTheMouse();
  wakumo::TestTrayModeSupport();
  return wakumo::Finish();
}
