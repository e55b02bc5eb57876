#pragma once
// The input files of a records or phone run, hashed for report.json: a
// database and the -wal and -shm beside it, as they stood before anything
// read them.
#include <string>
#include <vector>

#include "records/report_json.h"

namespace qf::cli {

// Adds `local_path` and its "-wal" and "-shm" side files, those that exist,
// under `role` ("contacts", "contacts-wal", ...), recording `shown_path`
// (the user's path, or the phone's path of a pulled file) with the suffix.
void add_database_inputs(std::vector<ReportInput>& inputs, const std::string& role,
                         const std::string& shown_path, const std::string& local_path);

// Now, as report.json writes times.
std::string now_text();

}  // namespace qf::cli
