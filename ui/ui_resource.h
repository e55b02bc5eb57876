#pragma once
// Dialog templates and control ids of the skinned dialogs (dialogs.rc).
// The main window's own templates are in app/resource.h; the numbers here
// must stay clear of them.
#define IDD_ABOUTBOX 103
#define IDD_MSGBOX 131

#define IDC_MSGBOX_CLOSE 1010
#define IDC_MSGBOX_OK 1011
#define IDC_MSGBOX_YES 1012
#define IDC_MSGBOX_NO 1014
#define IDC_MSGBOX_CANCEL 1015

#define IDC_ABOUT_CLOSE 1024
#define IDC_ABOUT_OK 1027
#define IDC_ABOUT_LINK 1028
