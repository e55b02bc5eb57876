#pragma once
// Writes the selected contacts or conversations as an HTML report into a
// folder: "Contacts.html" or "Messages.html", made from the report template.
// Lives for one export call on the export worker thread; it reads the
// records, which nothing changes meanwhile, and owns only its texts.
#include <string>
#include <vector>

#include "records/contact_record.h"
#include "records/conversation_record.h"
#include "records/report_template.h"

namespace qf {

class DomainExport {
 public:
  // `template_path` defaults to "template.html" beside the program.
  DomainExport(const std::vector<const ContactRecord*>& contacts, std::string output_folder,
               std::string template_path = ReportTemplatePath());
  DomainExport(const std::vector<const ConversationRecord*>& conversations,
               std::string output_folder, std::string template_path = ReportTemplatePath());
  // The export keeps a reference to the list: a temporary would dangle.
  DomainExport(std::vector<const ContactRecord*>&&, std::string, std::string = {}) = delete;
  DomainExport(std::vector<const ConversationRecord*>&&, std::string, std::string = {}) = delete;
  virtual ~DomainExport();

  // "Contacts.html" from the contacts given; nothing_to_export when there
  // are none (or this export was made for conversations).
  ExportResult ExportContactsReport() const;
  // "Messages.html" from the conversations given.
  ExportResult ExportMessagesReport() const;

 private:
  const std::vector<const ContactRecord*>* contacts_ = nullptr;
  const std::vector<const ConversationRecord*>* conversations_ = nullptr;
  std::string output_folder_;
  std::string template_path_;
};

}  // namespace qf
