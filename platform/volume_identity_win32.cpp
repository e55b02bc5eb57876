#include <windows.h>

#include <cwctype>

#include "platform/utf_win32.h"
#include "platform/volume_identity.h"

namespace qf {

std::string volume_identity(const std::string& path) {
  const std::wstring wide = widen(path);
  wchar_t root[MAX_PATH + 1] = {};
  // The mount point holding the path ("C:\", or a folder a volume is mounted on).
  if (!GetVolumePathNameW(wide.c_str(), root, MAX_PATH)) return {};
  wchar_t name[MAX_PATH + 1] = {};
  // The volume's own name is the same whichever letter or folder it is reached by.
  if (GetVolumeNameForVolumeMountPointW(root, name, MAX_PATH)) return narrow(name);
  std::wstring upper = root;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
  return narrow(upper);
}

}  // namespace qf
