#include "app/startup.h"

#include "app/main_form.h"
#include "ui/application.h"

namespace wakumo {

int RunWakumo(WindowSystem& ws, UiToolkit& ui, const Platform& platform) {
  TApplication app(ui);
  app.SetTitle("Wakumo");
  TForm1 form(ws, ui, platform);
  form.OnClose = [&app] { app.Terminate(); };
  form.Show();
  app.Run();
  return 0;
}

}  // namespace wakumo
