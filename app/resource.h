#pragma once
// Resource ids of the program's own resources (the main window's template has
// main_dlg_resource.h, the skinned dialogs of ui/ have their own header).
