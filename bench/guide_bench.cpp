// The experiment guide's start-up and picture costs: reading the largest catalogue the
// records hold, and decoding the largest shipped picture.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "guide/experiment_reader.h"
#include "guide/picture_decoder.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace {

using namespace edumac8;
namespace fs = std::filesystem;

// 64 experiments, each with 64 wiring and 64 operating steps and three text blocks of 50
// lines: every limit of the records reached.
std::string MaximalCatalogue() {
  const std::string line(60, 'x');
  std::string text;
  for (int e = 0; e < kMaxExperiments; ++e) {
    text += "实验定义 = {\r\n  名称 = \"实验 " + std::to_string(e + 1) + " 运算器与标志位\"\r\n";
    text += "  连线 = {\r\n";
    for (int s = 0; s < kMaxSteps; ++s)
      text += std::string(s ? ",\r\n" : "") + "    {" + std::to_string(s % 24) + ", " +
              std::to_string(24 + s % 46) + "}, \"开关接到部件的控制输入，引脚号见电路图\"";
    text += "\r\n  }\r\n  操作 = {\r\n";
    for (int s = 0; s < kMaxSteps; ++s)
      text += std::string(s ? ",\r\n" : "") +
              "    {'1000 0000 0000 0000 0000 0000 1110 1000', "
              "'1000 0000 1111 1111 1111 1111 0001 0111', \"输入开关置 35H，按 CK\"}";
    text += "\r\n  }\r\n";
    for (const char* block : {"要求", "目的", "说明"}) {
      text += std::string("  ") + block + " = {\r\n";
      for (int l = 0; l < kMaxBlockLines; ++l)
        text += "    第 " + std::to_string(l) + " 行 " + line + "\r\n";
      text += "  }\r\n";
    }
    text += "  电路 = \"ALU_SCH.JPG\"\r\n  波形 = \"ALU_WAVE.JPG\"\r\n}\r\n";
  }
  return Utf8ToGb2312(text);
}

void BM_ParseMaximalCatalogue(benchmark::State& state) {
  const std::string file = MaximalCatalogue();
  ExperimentCatalogue catalogue;
  for (auto _ : state) {
    const auto error = ParseExperiments(file, catalogue);
    if (error || catalogue.ExpCount() != kMaxExperiments) state.SkipWithError("not read whole");
    benchmark::DoNotOptimize(catalogue);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
  state.counters["file_kB"] = static_cast<double>(file.size()) / 1024;
}
BENCHMARK(BM_ParseMaximalCatalogue)->Unit(benchmark::kMillisecond);

// The start-up step itself: the file read from a help directory and parsed.
void BM_LoadMaximalCatalogue(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / ("guide_bench_" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "EX.INI", std::ios::binary) << MaximalCatalogue();
  ExperimentCatalogue catalogue;
  for (auto _ : state) {
    if (LoadExperiments(dir.string() + "/", catalogue)) state.SkipWithError("not read");
    benchmark::DoNotOptimize(catalogue);
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_LoadMaximalCatalogue)->Unit(benchmark::kMillisecond);

void BM_DecodeLargestShippedPicture(benchmark::State& state) {
  std::string largest, name;
  long pixels = 0;
  for (const auto& entry : fs::directory_iterator(std::string(EDUMAC8_DATA_DIR) + "/JPG")) {
    const std::string bytes = ReadWholeFile(entry.path().string()).value_or("");
    const auto picture = DecodePicture(bytes);
    if (picture && static_cast<long>(picture->width) * picture->height > pixels) {
      pixels = static_cast<long>(picture->width) * picture->height;
      largest = bytes;
      name = entry.path().filename().string();
    }
  }
  if (largest.empty()) {
    state.SkipWithError("no shipped picture");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(DecodePicture(largest));
  state.SetLabel(name);
  state.counters["pixels"] = static_cast<double>(pixels);
}
BENCHMARK(BM_DecodeLargestShippedPicture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
