// Benchmarks on a large design: 10,000 controls of every kind and a
// 1,000-point outline. Each measures one step the user waits for: code
// output (generateCode), Save (serializeProject and the write), Open (the
// read and parseProject), and quorvin-gen as a whole process (start, read,
// generate, write, exit).
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/project_file.h"
#include "codegen/code_output.h"
#include "common/cp932.h"
#include "common/file_io.h"

extern char** environ;

namespace quorvin {
namespace {

constexpr int kObjects = 10000;
constexpr int kPoints = 1000;

struct BigDesign {
  Project project;
  std::vector<DesignObject> objects;
};

// Every kind with a style of its family, captions and identifier names of
// ordinary lengths, some of them Japanese.
BigDesign makeBigDesign() {
  struct KindStyle {
    ObjectKind kind;
    std::uint32_t style;
  };
  const KindStyle kinds[] = {
      {ObjectKind::BUTTON, 0x50002300},   {ObjectKind::BUTTON, 0x50000003},
      {ObjectKind::BUTTON, 0x50000009},   {ObjectKind::BUTTON, 0x50000007},
      {ObjectKind::EDIT, 0x50010080},     {ObjectKind::EDIT_M, 0x50001044},
      {ObjectKind::EDIT_MV, 0x50201044},  {ObjectKind::EDIT_MH, 0x50101084},
      {ObjectKind::EDIT_MVH, 0x503010C4}, {ObjectKind::STATIC, 0x50000001},
      {ObjectKind::LISTBOX, 0x50A00003},
  };
  const std::string japanese = utf8ToCp932("表示ソフト");
  BigDesign design;
  Project& project = design.project;
  project.title = utf8ToCp932("大きな設計");
  project.className = "BigWindow";
  project.x = 10;
  project.y = 10;
  project.width = 1600;
  project.height = 1200;
  project.font = defaultFontSpec();
  project.variableNames = {"hwnd", "hinst", "hfont", "hrgn", "pt"};
  design.objects.resize(kObjects + 10);
  for (int i = 0; i < kObjects; ++i) {
    const KindStyle& ks = kinds[i % std::size(kinds)];
    DesignObject& object = design.objects[static_cast<std::size_t>(i)];
    object.window = 1;
    object.kind = ks.kind;
    object.style = ks.style;
    object.x = (i % 100) * 16;
    object.y = (i / 100) * 12;
    object.width = 80;
    object.height = 24;
    if (ks.kind != ObjectKind::LISTBOX)
      object.caption = (i % 3 == 0 ? japanese : "Caption") + std::to_string(i);
    object.idName = "ID_CONTROL_" + std::to_string(i);
  }
  project.objectCount = kObjects;

  project.regionMode = RegionMode::Polygon;
  project.growPointArrays(kPoints + 10);
  project.pointCount = kPoints;
  for (int i = 0; i < kPoints; ++i) {
    const double angle = 2 * 3.14159265358979 * i / kPoints;
    const RegionPoint marker{static_cast<std::int32_t>(800 + 780 * std::cos(angle)),
                             static_cast<std::int32_t>(600 + 580 * std::sin(angle))};
    project.markerPoints[static_cast<std::size_t>(i)] = marker;
    project.regionPoints[static_cast<std::size_t>(i)] = {marker.x - project.x + 10,
                                                         marker.y - project.y + 10};
  }
  return design;
}

const BigDesign& bigDesign() {
  static const BigDesign design = makeBigDesign();
  return design;
}

const std::string& templateText() {
  static const std::string text = readCodeTemplate(QUORVIN_TEMPLATE_FILE).value();
  return text;
}

// A folder of its own for the files the benchmarks write, removed at exit.
const Path& workFolder() {
  struct Folder {
    Path path;
    Folder() {
      std::string pattern = (std::filesystem::temp_directory_path() / "quorvin-bench-XXXXXX").string();
      if (::mkdtemp(pattern.data()) == nullptr) std::abort();
      path = pattern;
    }
    ~Folder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
  };
  static const Folder folder;
  return folder.path;
}

// The big design saved once, for the benchmarks that read it.
const Path& savedProject() {
  static const Path path = [] {
    const Path file = workFolder() / "big.mwd";
    if (!saveProject(file, bigDesign().project, bigDesign().objects)) std::abort();
    return file;
  }();
  return path;
}

void BM_GenerateCode(benchmark::State& state) {
  const BigDesign& design = bigDesign();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string code = generateCode(templateText(), design.project, design.objects);
    bytes = code.size();
    benchmark::DoNotOptimize(code.data());
  }
  state.counters["output_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_GenerateCode)->Unit(benchmark::kMillisecond);

void BM_SerializeProject(benchmark::State& state) {
  const BigDesign& design = bigDesign();
  for (auto _ : state) {
    const std::string bytes = serializeProject(design.project, design.objects);
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_SerializeProject)->Unit(benchmark::kMillisecond);

// Save as the menu command does it: checks, serialization, the write to a
// temporary file and its rename over the previous file.
void BM_SaveProject(benchmark::State& state) {
  const BigDesign& design = bigDesign();
  const Path file = workFolder() / "save.mwd";
  for (auto _ : state) {
    if (!saveProject(file, design.project, design.objects)) state.SkipWithError("save failed");
  }
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(file));
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);

void BM_ParseProject(benchmark::State& state) {
  const std::string bytes = readFileBytes(savedProject()).value();
  for (auto _ : state) {
    Project project;
    std::vector<DesignObject> objects;
    if (!parseProject(bytes, project, objects)) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(objects.data());
  }
}
BENCHMARK(BM_ParseProject)->Unit(benchmark::kMillisecond);

// Open as the menu command does it: the read of the file and its parsing
// (setting.ini is not there, as settingsPath is not set).
void BM_ReadProject(benchmark::State& state) {
  const Path& file = savedProject();
  for (auto _ : state) {
    Project project;
    std::vector<DesignObject> objects;
    if (!readProject(file, project, objects)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(objects.data());
  }
}
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMillisecond);

// quorvin-gen started as a process, as a build starts it: reads the project
// and the template, generates, writes the source file, exits. Measured in
// real time, as the work is done in the child; child_cpu_ms is the
// processor time the child took.
void BM_QuorvinGenProcess(benchmark::State& state) {
  const std::string program = QUORVIN_GEN_PROGRAM;
  const std::string project = savedProject().string();
  const std::string output = (workFolder() / "big.cpp").string();
  const std::string templateFile = QUORVIN_TEMPLATE_FILE;
  std::vector<std::string> args{program, "-t", templateFile, "-o", output, project};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const auto childCpuSeconds = [] {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  };
  const double cpuBefore = childCpuSeconds();
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("cannot start quorvin-gen");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("quorvin-gen failed");
      break;
    }
  }
  // The processor time the child processes took, per run (user + system).
  if (state.iterations() > 0) {
    state.counters["child_cpu_ms"] =
        (childCpuSeconds() - cpuBefore) * 1000 / static_cast<double>(state.iterations());
  }
}
BENCHMARK(BM_QuorvinGenProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorvin

BENCHMARK_MAIN();
