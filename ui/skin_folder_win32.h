#pragma once
// The skin folder: every picture of the user interface is a file in the
// folder "image" beside the program, addressed by its bare file name. The
// process entry fixes the folder once at start; tests point it elsewhere.
#include <windows.h>

#include <string>
#include <string_view>

namespace qf::ui {

// "<folder of `module`'s file>\image\" (`module` null: the executable).
std::wstring skin_folder_for_module(HMODULE module = nullptr);

// Sets the folder used by skin_path; a missing trailing separator is added.
void set_skin_folder(std::wstring folder);
// The folder set last; before any set_skin_folder, the executable's.
const std::wstring& skin_folder();
// skin_folder() + name.
std::wstring skin_path(std::wstring_view name);

}  // namespace qf::ui
