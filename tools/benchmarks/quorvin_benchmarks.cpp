// Benchmarks on a large design: 10,000 controls of every kind and a
// 1,000-point outline. Each measures one step the user waits for: code
// output (generateCode), Save (serializeProject and the write), Open (the
// read and parseProject), and quorvin-gen as a whole process (start, read,
// generate, write, exit).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
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

// The processor time that finished child processes have taken (user +
// system), in seconds.
double childCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Starts `args` (a program's path first) with standard output going to
// `stdoutFile` when one is given, and waits for it. False when it could not
// be started or did not exit with 0.
bool runProcess(std::vector<std::string> args, const std::string& stdoutFile = {}) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!stdoutFile.empty()) {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }
  pid_t pid = 0;
  const int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The source of the big design, as quorvin-gen writes it: the copy's input.
const std::string& generatedFile() {
  static const std::string path = [] {
    const std::string file = (workFolder() / "generated.cpp").string();
    if (!runProcess({QUORVIN_GEN_PROGRAM, "-t", QUORVIN_TEMPLATE_FILE, "-o", file,
                     savedProject().string()}))
      std::abort();
    return file;
  }();
  return path;
}

// Runs `args` once per iteration (after `before`, untimed) and reports the
// child processes' processor time per run as child_cpu_ms.
template <typename Before>
void timeProcess(benchmark::State& state, const std::vector<std::string>& args,
                 const std::string& stdoutFile, Before before) {
  double cpu = 0;
  for (auto _ : state) {
    state.PauseTiming();
    before();
    const double cpuBefore = childCpuSeconds();
    state.ResumeTiming();
    if (!runProcess(args, stdoutFile)) {
      state.SkipWithError("the process failed");
      break;
    }
    state.PauseTiming();
    cpu += childCpuSeconds() - cpuBefore;
    state.ResumeTiming();
  }
  if (state.iterations() > 0)
    state.counters["child_cpu_ms"] = cpu * 1000 / static_cast<double>(state.iterations());
}

// quorvin-gen started as a process, as a build starts it: reads the project
// and the template, generates, writes the source file, exits. Measured in
// real time, as the work is done in the child. First argument, `new`: the
// output file is not there (removed before each run, untimed);
// `unchanged`: it holds the bytes already, so quorvin-gen reads and
// compares it and writes nothing. Second argument: 0 this build's
// quorvin-gen; 1 the one the environment variable QUORVIN_GEN names (an
// earlier version, timed in the same run for a comparison on the same
// machine at the same moment; registered only when the variable is set).
const char* otherQuorvinGen() { return std::getenv("QUORVIN_GEN"); }

void BM_QuorvinGenProcess(benchmark::State& state) {
  const bool unchanged = state.range(0) == 1;
  const bool other = state.range(1) == 1;
  state.SetLabel(std::string(unchanged ? "unchanged" : "new") + (other ? ", QUORVIN_GEN" : ""));
  const std::string output = (workFolder() / (other ? "big-other.cpp" : "big.cpp")).string();
  const std::vector<std::string> args{other ? otherQuorvinGen() : QUORVIN_GEN_PROGRAM, "-t",
                                      QUORVIN_TEMPLATE_FILE, "-o", output,
                                      savedProject().string()};
  if (unchanged && !runProcess(args)) state.SkipWithError("quorvin-gen failed");
  timeProcess(state, args, {}, [&] {
    if (!unchanged) std::filesystem::remove(output);
  });
}
BENCHMARK(BM_QuorvinGenProcess)
    ->Apply([](benchmark::internal::Benchmark* benchmark) {
      for (int other = 0; other <= (otherQuorvinGen() != nullptr ? 1 : 0); ++other) {
        benchmark->Args({0, other});
        benchmark->Args({1, other});
      }
    })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The yardstick for quorvin-gen: `cat` copying quorvin-gen's output of the
// big design to a new file (the shell's `cat big.cpp > copy.cpp`), as a
// whole process too.
void BM_CatOutputProcess(benchmark::State& state) {
  const std::string copy = (workFolder() / "copy.cpp").string();
  timeProcess(state, {"/bin/cat", generatedFile()}, copy,
              [&] { std::filesystem::remove(copy); });
}
BENCHMARK(BM_CatOutputProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same three processes taken in turns: cat of the output, this build's
// quorvin-gen writing a new output file, and (when QUORVIN_GEN is set) the
// other quorvin-gen, one after the other in every iteration. On a machine
// that others share, the load then weighs on all of them alike, and the
// ratios are steadier than those of the separate benchmarks above. Reports
// the median wall and child processor times of each, in milliseconds, and
// the ratios to cat.
void BM_QuorvinGenBesideCat(benchmark::State& state) {
  struct Program {
    std::string name;
    std::vector<std::string> args;
    std::string stdoutFile;  // cat's copy
    std::string removed;     // the file removed before each run
    std::vector<double> wall;
    std::vector<double> cpu;
  };
  const std::string copy = (workFolder() / "beside-copy.cpp").string();
  std::vector<Program> programs;
  programs.push_back({"cat", {"/bin/cat", generatedFile()}, copy, copy, {}, {}});
  const auto generator = [](const char* program, const std::string& output) {
    return std::vector<std::string>{program, "-t", QUORVIN_TEMPLATE_FILE, "-o", output,
                                    savedProject().string()};
  };
  const std::string output = (workFolder() / "beside.cpp").string();
  programs.push_back({"gen", generator(QUORVIN_GEN_PROGRAM, output), {}, output, {}, {}});
  if (otherQuorvinGen() != nullptr) {
    const std::string otherOutput = (workFolder() / "beside-other.cpp").string();
    programs.push_back({"other", generator(otherQuorvinGen(), otherOutput), {}, otherOutput, {}, {}});
  }
  for (auto _ : state) {
    for (Program& program : programs) {
      std::filesystem::remove(program.removed);
      const double cpuBefore = childCpuSeconds();
      const auto start = std::chrono::steady_clock::now();
      if (!runProcess(program.args, program.stdoutFile)) {
        state.SkipWithError("a process failed");
        return;
      }
      const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
      program.wall.push_back(took.count());
      program.cpu.push_back((childCpuSeconds() - cpuBefore) * 1000);
    }
  }
  const auto median = [](std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
  };
  const double catWall = median(programs[0].wall);
  const double catCpu = median(programs[0].cpu);
  for (const Program& program : programs) {
    state.counters[program.name + "_ms"] = median(program.wall);
    state.counters[program.name + "_cpu_ms"] = median(program.cpu);
    if (&program != &programs[0] && catWall > 0 && catCpu > 0) {
      state.counters[program.name + "/cat"] = median(program.wall) / catWall;
      state.counters[program.name + "/cat_cpu"] = median(program.cpu) / catCpu;
    }
  }
}
BENCHMARK(BM_QuorvinGenBesideCat)->Unit(benchmark::kMillisecond)->Iterations(60);

}  // namespace
}  // namespace quorvin

BENCHMARK_MAIN();
