#pragma once
// Disk images beside the machine's disks: each image file given (on the
// program's command line or through "Open Disk Image...") becomes one more
// disk of the storage tree, opened read-only and scanned like a card.
#include <string>
#include <vector>

#include "carve/scan_session.h"

namespace qf {

// The disks of `base` followed by one disk per image, in the order given.
disk_source disks_with_images(disk_source base, std::vector<std::string> images);

}  // namespace qf
