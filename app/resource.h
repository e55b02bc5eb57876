#pragma once
// Resource ids of the program's own templates (the skinned dialogs of ui/
// have their own header).
#define IDD_PLACEHOLDER 100
#define IDC_PLACEHOLDER_TEXT 1001
