#include "ui/control_classes_win32.h"

#include <commctrl.h>

namespace qf::ui {

bool register_control_classes() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES |
                                                      ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES |
                                                      ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
  return InitCommonControlsEx(&controls) != FALSE;
}

}  // namespace qf::ui
