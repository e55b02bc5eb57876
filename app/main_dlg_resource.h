#pragma once
// The main window's template and control ids (main_dlg.rc). The numbers stay
// clear of the skinned dialogs' (ui/ui_resource.h) and of resource.h.
#define IDD_MAINDLG 102

#define IDC_MAIN_CLOSE 1000
#define IDC_MAIN_MINIMISE 1001
#define IDC_MAIN_TREE 1003
#define IDC_MAIN_LIST 1004
#define IDC_MAIN_PROGRESS 1005
#define IDC_MAIN_RECOVER 1010
#define IDC_MAIN_MENU 1024
#define IDC_MAIN_HOME 1029
#define IDC_MAIN_HELP 1031
#define IDC_MAIN_BACK 1032
#define IDC_MAIN_REFRESH 1033
#define IDC_MAIN_PAUSE 1034
#define IDC_MAIN_RESUME 1035
#define IDC_MAIN_STOP 1036

#define IDC_MAIN_BACK_LABEL 1050
#define IDC_MAIN_RECOVER_LABEL 1051
#define IDC_MAIN_PAUSE_LABEL 1052
#define IDC_MAIN_RESUME_LABEL 1053
#define IDC_MAIN_STOP_LABEL 1054
#define IDC_MAIN_HELP_LINK 1055
