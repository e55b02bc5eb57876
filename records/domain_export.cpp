#include "records/domain_export.h"

#include <utility>

#include "platform/paths.h"
#include "records/report_table.h"

namespace qf {

DomainExport::DomainExport(const std::vector<const ContactRecord*>& contacts,
                           std::string output_folder, std::string template_path)
    : contacts_(&contacts),
      output_folder_(std::move(output_folder)),
      template_path_(std::move(template_path)) {}

DomainExport::DomainExport(const std::vector<const ConversationRecord*>& conversations,
                           std::string output_folder, std::string template_path)
    : conversations_(&conversations),
      output_folder_(std::move(output_folder)),
      template_path_(std::move(template_path)) {}

DomainExport::~DomainExport() = default;

ExportResult DomainExport::ExportContactsReport() const {
  if (contacts_ == nullptr || contacts_->empty()) return ExportResult::nothing_to_export;
  const std::string json = WriteReportTable(BuildContactsReportTable(*contacts_));
  return FillReportTemplate("Contacts", template_path_, join_path(output_folder_, "Contacts.html"),
                            json);
}

ExportResult DomainExport::ExportMessagesReport() const {
  if (conversations_ == nullptr || conversations_->empty()) return ExportResult::nothing_to_export;
  const std::string json = WriteReportTable(BuildMessagesReportTable(*conversations_));
  return FillReportTemplate("Messages", template_path_, join_path(output_folder_, "Messages.html"),
                            json);
}

}  // namespace qf
