// Speed and memory of the data page's models.
//   ConversationLayout: laying out a 50,000-message conversation (the text
//   measure is a stand-in of 6 px a byte, 16 px a line, so the figure is the
//   layout's own cost; under Windows the font measure adds to it).
//   OneScreen: finding and visiting the bubbles of one 507-px screen in the
//   middle of it, what each paint does before drawing.
//   Sort: ordering a 100,000-record contact source by a text and a number
//   column (the whole source, through the index).
// Run: build/native/bench/ui_layout_bench
#include <benchmark/benchmark.h>

#include <deque>
#include <string>

#include "ui/bubble_layout.h"
#include "ui/check_list_model.h"

namespace {

using namespace qf::ui;

const qf::ConversationRecord& long_conversation() {
  static const qf::ConversationRecord conversation = [] {
    qf::ConversationRecord c;
    for (int i = 0; i < 50000; ++i) {
      qf::MessageRecord m;
      m.type = i % 3 ? 1 : 2;
      m.date_text = "2024-01-01 00:00:" + std::to_string(10 + i % 50);
      m.body = std::string(5 + (i * 37) % 120, 'x');
      c.messages.push_back(std::move(m));
    }
    return c;
  }();
  return conversation;
}

TextExtent stand_in_measure(const std::string& body) { return {static_cast<int>(body.size()) * 6, 16}; }

void BM_ConversationLayout(benchmark::State& state) {
  const qf::ConversationRecord& c = long_conversation();
  ConversationLayout layout;
  for (auto _ : state) {
    layout.build(&c, stand_in_measure);
    benchmark::DoNotOptimize(layout.content_height());
  }
  state.counters["bytes_per_message"] =
      static_cast<double>(layout.bubbles().capacity() * sizeof(BubbleLayout)) / static_cast<double>(c.messages.size());
}
BENCHMARK(BM_ConversationLayout)->Unit(benchmark::kMillisecond);

void BM_OneScreen(benchmark::State& state) {
  const qf::ConversationRecord& c = long_conversation();
  ConversationLayout layout;
  layout.build(&c, stand_in_measure);
  const int middle = layout.content_height() / 2;
  for (auto _ : state) {
    auto [first, last] = layout.visible(middle, 507);
    size_t bytes = 0;
    for (size_t i = first; i < last; ++i) bytes += c.messages[layout.bubbles()[i].message].body.size();
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_OneScreen);

void BM_Sort(benchmark::State& state) {
  std::deque<qf::ContactRecord> records;
  qf::ContactList list;
  for (int i = 0; i < 100000; ++i) {
    records.emplace_back().name = "Contact " + std::to_string((i * 7919) % 100000);
    list.push_back(&records.back());
  }
  const int column = static_cast<int>(state.range(0));
  for (auto _ : state) {
    CheckListModel model;
    model.fill(contact_rows(list));
    model.sort_by(column);
    benchmark::DoNotOptimize(model.source_index(0));
  }
}
BENCHMARK(BM_Sort)->Arg(0)->Arg(1)->ArgName("column")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
