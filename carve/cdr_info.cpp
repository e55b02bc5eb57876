#include "carve/cdr_info.h"

namespace qf {
namespace {

void no_op(cdr_info_win*) {}

}  // namespace

int cdr_init(cdr_info_win*) { return 1; }

cdr_info_win* new_cdr_info() {
  auto* table = new cdr_info_win;
  table->init = cdr_init;
  table->back_to_start = no_op;
  table->enumerate = cdr_enumerate;
  table->open_image = cdr_open_image;
  table->free_tree = cdr_free_tree;
  table->clear_children = cdr_clear_children;
  table->scan_partition = cdr_scan_partition;
  table->save_found_file = cdr_save_found_file;
  table->shutdown = no_op;
  return table;
}

void delete_cdr_info(cdr_info_win* table) { delete table; }

}  // namespace qf
