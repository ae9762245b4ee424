#include "app/startup.h"

#include "app/main_form.h"
#include "ui/application.h"

namespace wakumo {

int RunWakumo(WindowSystem& ws, UiToolkit& ui, const Platform& platform) {
  TApplication app(ui);
  app.SetTitle("Wakumo");
  platform.startup_trace.Mark("application");
  // Made before the form and gone after it, as the form's icon needs.
  TrayServices tray(ws, platform);
  TForm1 form(ws, ui, platform, tray);
  // FormClose first (it saves the settings), then the loop ends.
  form.OnClose = [&app, &form] {
    form.FormClose();
    app.Terminate();
  };
  form.Show();
  platform.startup_trace.Mark("shown");
  app.Run();
  return 0;
}

}  // namespace wakumo
