// The outputs a run writes from its records: the messages report's data,
// messages.csv and report.json, for a phone with many messages. Each
// message's time gets its UTC offset looked up in every one of them.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "records/record_csv.h"
#include "records/report_json.h"
#include "records/report_table.h"

namespace {

std::vector<qf::ConversationRecord> conversations(int messages) {
  std::vector<qf::ConversationRecord> list(100);
  for (int i = 0; i < messages; ++i) {
    qf::MessageRecord m;
    m.type = 1 + i % 6;
    m.deleted = i % 7 == 0;
    m.date_text = "2024-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10) + " 12:34:56";
    m.address = "+442079460018";
    m.body = "See you at the usual place around half past seven, the train is late again, \"sorry\"";
    list[i % 100].messages.push_back(m);
  }
  return list;
}

template <typename Write>
void run(benchmark::State& state, Write write) {
  const auto list = conversations(static_cast<int>(state.range(0)));
  std::vector<const qf::ConversationRecord*> refs;
  for (const auto& c : list) refs.push_back(&c);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string out = write(refs);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["output_bytes"] = static_cast<double>(bytes);
}

void MessagesReportData(benchmark::State& state) {
  run(state, [](const auto& refs) { return qf::WriteReportTable(qf::BuildMessagesReportTable(refs)); });
}

void MessagesCsv(benchmark::State& state) {
  run(state, [](const auto& refs) { return qf::MessagesCsv(refs); });
}

void ReportJson(benchmark::State& state) {
  run(state, [](const auto& refs) { return qf::WriteReportJson(qf::ReportRun{}, {}, refs); });
}

}  // namespace

BENCHMARK(MessagesReportData)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(MessagesCsv)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReportJson)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
