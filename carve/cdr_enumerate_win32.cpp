// Disk discovery on Windows: the disk interface class, the storage IOCTLs,
// each disk's drive layout and the walk over mounted volumes. The decisions
// (which entries become nodes, how volumes relabel them, the letter order)
// live in carve/drive_layout.cpp; this file only asks Windows.
#include <windows.h>
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>
#include <winioctl.h>

#include <cstdio>
#include <vector>

#include "carve/cdr_info.h"
#include "carve/drive_layout.h"
#include "platform/utf_win32.h"

namespace qf {
namespace {

// GUID_DEVINTERFACE_DISK {53F56307-B6BF-11D0-94F2-00A0C91EFB8B}.
const GUID kDiskInterface = {0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};

struct handle_closer {
  HANDLE h;
  ~handle_closer() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

HANDLE open_device(const std::wstring& path, DWORD access) {
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs one IOCTL into `out`; returns the bytes returned, or -1 on failure.
long ioctl(HANDLE h, DWORD code, const void* in, DWORD in_size, std::vector<unsigned char>& out) {
  DWORD returned = 0;
  if (!DeviceIoControl(h, code, const_cast<void*>(in), in_size, out.data(), static_cast<DWORD>(out.size()),
                       &returned, nullptr)) {
    return -1;
  }
  return static_cast<long>(returned);
}

std::wstring interface_path(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* data) {
  DWORD needed = 0;
  SetupDiGetDeviceInterfaceDetailW(set, data, nullptr, 0, &needed, nullptr);
  if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return {};
  std::vector<unsigned char> buffer(needed);
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  if (!SetupDiGetDeviceInterfaceDetailW(set, data, detail, needed, nullptr, nullptr)) return {};
  return detail->DevicePath;
}

int query_removable(HANDLE h) {
  // STORAGE_PROPERTY_QUERY: StorageDeviceProperty (0), PropertyStandardQuery (0).
  STORAGE_PROPERTY_QUERY query{};
  query.PropertyId = StorageDeviceProperty;
  query.QueryType = PropertyStandardQuery;
  std::vector<unsigned char> descriptor(512);
  const long got = ioctl(h, IOCTL_STORAGE_QUERY_PROPERTY, &query, 12, descriptor);
  return got < 0 ? 0 : removable_from_descriptor(descriptor.data(), static_cast<std::size_t>(got));
}

std::string friendly_name(HDEVINFO set, SP_DEVINFO_DATA* info) {
  std::vector<unsigned char> buffer(2048);
  if (!SetupDiGetDeviceRegistryPropertyW(set, info, SPDRP_FRIENDLYNAME, nullptr, buffer.data(),
                                         static_cast<DWORD>(buffer.size() - sizeof(wchar_t)), nullptr)) {
    return {};
  }
  return narrow(reinterpret_cast<const wchar_t*>(buffer.data()));
}

void read_partitions(cdr_node* disk, std::uint32_t device_number, partition_map& map) {
  handle_closer h{open_device(widen(disk->device_path), 0)};
  if (h.h == INVALID_HANDLE_VALUE) return;
  std::vector<unsigned char> layout(kLayoutBufferSize);
  const long got = ioctl(h.h, IOCTL_DISK_GET_DRIVE_LAYOUT_EX, nullptr, 0, layout);
  if (got > 0) add_layout_partitions(disk, layout.data(), static_cast<std::size_t>(got), device_number, map);
}

// Adds one disk for interface `index`; false ends the disk walk.
bool add_disk(cdr_node* root, HDEVINFO set, SP_DEVINFO_DATA* info, DWORD index, partition_map& map) {
  SP_DEVICE_INTERFACE_DATA data{};
  data.cbSize = sizeof data;
  if (!SetupDiEnumDeviceInterfaces(set, nullptr, &kDiskInterface, index, &data)) return false;
  const std::wstring path = interface_path(set, &data);
  if (path.empty()) return true;  // detail unreadable: go on with the next one
  handle_closer h{open_device(path, GENERIC_READ)};
  if (h.h == INVALID_HANDLE_VALUE) return false;
  std::vector<unsigned char> number(12);
  const long got = ioctl(h.h, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, number);
  const auto device_number = got < 0 ? std::nullopt : device_number_of(number.data(), static_cast<std::size_t>(got));
  if (!device_number) return false;

  auto* disk = new cdr_node;
  disk->removable = query_removable(h.h);
  disk->name = friendly_name(set, info);
  disk->device_path = physical_drive_path(*device_number);
  disk->sector_size = 512;
  disk->scan_handle = open_read_handle(disk->device_path);
  disk->save_handle = open_read_handle(disk->device_path);
  disk->owns_handles = true;
  append_child(root, disk);
  read_partitions(disk, *device_number, map);
  return true;
}

void walk_volumes(const partition_map& map) {
  const DWORD drives = GetLogicalDrives();
  if (drives == 0) {
    std::printf("\nGetLogicalDrives() failed with failure code: %d\n", static_cast<int>(GetLastError()));
    return;
  }
  for (int bit = 0; bit < 26; ++bit) {
    if (!(drives & (1u << bit))) continue;
    const std::string letter = std::string(1, static_cast<char>('A' + bit)) + ":";
    handle_closer h{open_device(widen("\\\\.\\" + letter), 0)};
    if (h.h == INVALID_HANDLE_VALUE) return;
    std::vector<unsigned char> extents(512);
    const long got = ioctl(h.h, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, extents);
    if (got < 0) continue;
    const auto extent = first_volume_extent(extents.data(), static_cast<std::size_t>(got));
    if (!extent) continue;
    const auto found = map.find(*extent);
    if (found == map.end()) continue;
    const std::wstring root = widen(letter + "\\");
    wchar_t label[256] = {};
    wchar_t file_system[256] = {};
    if (!GetVolumeInformationW(root.c_str(), label, 255, nullptr, nullptr, nullptr, file_system, 255)) continue;
    volume_facts volume;
    volume.letter = letter;
    volume.label = narrow(label);
    volume.file_system = narrow(file_system);
    ULARGE_INTEGER free_to_caller{};
    if (GetDiskFreeSpaceExW(root.c_str(), &free_to_caller, nullptr, nullptr)) {
      volume.free_bytes = free_to_caller.QuadPart;
    }
    volume.drive_type = GetDriveTypeW(root.c_str());
    apply_volume(found->second, volume);
  }
}

}  // namespace

cdr_node* cdr_enumerate(cdr_info_win*, int) {
  HDEVINFO set = SetupDiGetClassDevsW(&kDiskInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return nullptr;
  auto* root = new cdr_node;
  root->name = "root";
  partition_map map;
  SP_DEVINFO_DATA info{};
  info.cbSize = sizeof info;
  for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &info); ++i) {
    if (!add_disk(root, set, &info, i, map)) break;
  }
  SetupDiDestroyDeviceInfoList(set);
  walk_volumes(map);
  for (cdr_node* disk = root->first_child; disk; disk = disk->next) sort_partitions_by_letter(disk);
  return root;
}

}  // namespace qf
