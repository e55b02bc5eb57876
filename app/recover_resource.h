#pragma once
// The recover progress dialog's template and control ids (recover_dialog.rc).
#define IDD_RECOVER_PROGRESS 1038

#define IDC_RECOVER_CLOSE 1024
#define IDC_RECOVER_BAR 1036
#define IDC_RECOVER_FINISHED 1037
#define IDC_RECOVER_TITLE_CLOSE 1040
#define IDC_RECOVER_STOP 1041
#define IDC_RECOVER_TEXT 1042
