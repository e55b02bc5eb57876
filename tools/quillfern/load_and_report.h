#pragma once
// What the `records` and `phone` subcommands share once the databases lie in
// a work folder: run the record loader on the copies, print what it found,
// and write the two reports.
#include <filesystem>
#include <string>

#include "device/phone_files.h"
#include "records/report_json.h"
#include "records/display_lists.h"
#include "records/record_tables.h"

namespace qf::cli {

// The loader's result; the lists refer into the tables.
struct LoadedRecords {
  ContactTable contact_table;
  ConversationTable conversation_table;
  ContactList contacts;
  ConversationList conversations;
};

// Runs the loader to its end on the four copies: each database as pulled
// (with its side files) and its bare backup copy.
void load_records(const device::DatabasePaths& paths, LoadedRecords& loaded);

// "contacts: N live, M deleted", likewise conversations and messages, on
// standard output.
void print_counts(const LoadedRecords& loaded);

// Which reports to write, where, and with which template.
struct ReportRequest {
  bool contacts = true;
  bool messages = true;
  std::string out;
  std::string template_path;          // empty: the template built into the tool
  const char* command = "quillfern";  // prefix of error messages
  ReportRun run;                      // command, start and inputs; the end is set here
};

// Writes the HTML reports asked for, then contacts.csv, messages.csv and
// report.json, printing one line for each file on standard output. The
// built-in template is put into `work` when no template file is named. False
// when a file could not be written (template unreadable, file not
// creatable); nothing found to report is not a failure.
bool write_reports(const LoadedRecords& loaded, ReportRequest& request, const std::filesystem::path& work);

}  // namespace qf::cli
