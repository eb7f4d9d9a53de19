// Decoding widget.json against simdjson's bare parse of the same bytes, which
// is the floor any decoder built on it can reach.
#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <fstream>
#include <iterator>
#include <string>

#include "snapshot/snapshot_json.h"

namespace {

using kelpo::WidgetSnapshot;

// The typical document: three items to sort, one in the programme.
[[nodiscard]] std::string typicalDocument() {
  WidgetSnapshot snapshot;
  const char* titles[] = {"Rendu volumétrique des nuages en temps réel",
                          "Pourquoi les compilateurs aiment les boucles simples",
                          "L’art discret des interfaces en mode texte"};
  for (const char* title : titles) {
    snapshot.toSort.push_back(
        {kelpo::Uuid::random(), title, 8, kelpo::Gallery::stack, "Pixelbarn · 30 min", true});
  }
  snapshot.program.push_back(snapshot.toSort[0]);
  snapshot.toSortCount = 3;
  snapshot.programCount = 1;
  snapshot.weekDone = 135;
  snapshot.weekDoneCount = 4;
  snapshot.weekLabel = "2 h 15 / 5 h";
  snapshot.weekLeftLabel = "2 h 45";
  snapshot.accent = "Lagune";
  return kelpo::encodeSnapshot(snapshot);
}

// A host gone wild: 10,000 items to sort.
[[nodiscard]] std::string largeDocument() {
  WidgetSnapshot snapshot;
  for (int index = 0; index < 10'000; ++index) {
    snapshot.toSort.push_back(
        {kelpo::Uuid::random(), "Article numéro " + std::to_string(index) + " sur la typographie",
         index % 11, kelpo::allGalleries[index % 4], "Pixelbarn · 30 min", index % 2 == 0});
  }
  snapshot.toSortCount = 10'000;
  snapshot.weekLabel = "2 h 15 / 5 h";
  return kelpo::encodeSnapshot(snapshot);
}

void reportBytes(benchmark::State& state, const std::string& document) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * document.size()));
  state.counters["bytes"] = static_cast<double>(document.size());
}

void decodeSnapshot(benchmark::State& state, const std::string& document) {
  for (auto _ : state) {
    auto result = kelpo::decodeSnapshot(document);
    benchmark::DoNotOptimize(result);
    if (!result.ok()) state.SkipWithError(result.error().describe().c_str());
  }
  reportBytes(state, document);
}

// A fresh parser per document, as decodeSnapshot does.
void parseWithFreshParser(benchmark::State& state, const std::string& document) {
  for (auto _ : state) {
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    if (parser.parse(document.data(), document.size()).get(root) != simdjson::SUCCESS) {
      state.SkipWithError("parse failed");
    }
    benchmark::DoNotOptimize(root);
  }
  reportBytes(state, document);
}

// One parser reused across documents, its buffers already allocated.
void parseWithReusedParser(benchmark::State& state, const std::string& document) {
  simdjson::dom::parser parser;
  const simdjson::padded_string padded(document);
  for (auto _ : state) {
    simdjson::dom::element root;
    if (parser.parse(padded).get(root) != simdjson::SUCCESS) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(root);
  }
  reportBytes(state, document);
}

const std::string& typical() {
  static const std::string document = typicalDocument();
  return document;
}

const std::string& large() {
  static const std::string document = largeDocument();
  return document;
}

void BM_DecodeSnapshot_Typical(benchmark::State& state) {
  decodeSnapshot(state, typical());
}
void BM_SimdjsonFreshParser_Typical(benchmark::State& state) {
  parseWithFreshParser(state, typical());
}
void BM_SimdjsonReusedParser_Typical(benchmark::State& state) {
  parseWithReusedParser(state, typical());
}
void BM_DecodeSnapshot_10000Items(benchmark::State& state) {
  decodeSnapshot(state, large());
}
void BM_SimdjsonFreshParser_10000Items(benchmark::State& state) {
  parseWithFreshParser(state, large());
}
void BM_SimdjsonReusedParser_10000Items(benchmark::State& state) {
  parseWithReusedParser(state, large());
}

BENCHMARK(BM_DecodeSnapshot_Typical);
BENCHMARK(BM_SimdjsonFreshParser_Typical);
BENCHMARK(BM_SimdjsonReusedParser_Typical);
BENCHMARK(BM_DecodeSnapshot_10000Items)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SimdjsonFreshParser_10000Items)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SimdjsonReusedParser_10000Items)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
