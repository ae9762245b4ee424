#include "win32/win32_icons.h"

#include "win32/win32_handles.h"
#include "win32/win32_text.h"

namespace wakumo {

IconHandle Win32IconStore::LoadIcon(const std::string& resource, bool shared) {
  if (resource.empty()) return 0;
  // The small-icon size of the system's DPI: 16 at 96 DPI, sharper above.
  return ToIconHandle(static_cast<HICON>(LoadImageW(instance_, Wide(resource).c_str(), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                    shared ? LR_SHARED : 0)));
}

IconHandle Win32IconStore::CopyIcon(IconHandle icon) { return icon ? ToIconHandle(::CopyIcon(ToHicon(icon))) : 0; }

void Win32IconStore::DestroyIcon(IconHandle icon) {
  if (icon) ::DestroyIcon(ToHicon(icon));
}

}  // namespace wakumo
