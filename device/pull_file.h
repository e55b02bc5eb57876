#pragma once
// Pulling one database file off a rooted phone.
#include <optional>
#include <string>
#include <string_view>

#include "device/adb_runner.h"

namespace qf::device {

// The permission bits of a regular file from an `ls -l` answer ("-rw-rw----
// 1 u0_a2 ..." from toybox, the same first column from the old toolbox), as
// an octal text for chmod ("660", "4755" when special bits are set). Nothing
// when no line of the answer starts with a regular file's mode column (a
// refused su, a missing file, a link).
std::optional<std::string> mode_from_listing(std::string_view listing);

// Makes `remote` readable for the ADB shell user with the phone's su, pulls it
// to `local`, and gives it its earlier mode back, so the contacts and messages
// stay closed to the phone's other apps. The mode is read first ("ls -l"); a
// file whose mode cannot be read is not touched on the phone (the pull is
// still tried). True when the client confirmed the pull ("1 file pulled",
// or an older client's "(N bytes in T s)") and the file is there. A local
// file whose pull the client did not confirm (it was killed, timed out or
// answered something unreadable) may be cut short, so it is removed: a
// failed pull leaves no local file.
bool pull_file(const AdbClient& client, const std::string& remote, const std::string& local);

// Whether the client's answer to a pull says the file came whole.
bool pull_confirmed(std::string_view answer);

}  // namespace qf::device
