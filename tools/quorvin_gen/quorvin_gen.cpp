#include "tools/quorvin_gen/quorvin_gen.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <ostream>
#include <string_view>
#include <system_error>

#include <nlohmann/json.hpp>

#include "app/project_file.h"
#include "app/settings_file.h"
#include "codegen/code_output.h"
#include "codegen/style_names.h"
#include "common/cp932.h"
#include "designer/outline_points.h"

#ifndef QUORVIN_VERSION
#error "QUORVIN_VERSION must be defined by the build"
#endif

namespace quorvin {

namespace {

constexpr std::string_view kProgram = "quorvin-gen";
constexpr const char* kSettingsFileName = "setting.ini";

constexpr std::string_view kUsage =
    "Usage: quorvin-gen [--unicode] [--check] [--strict] [-t TEMPLATE] [-s SETTINGS]\n"
    "                   [-o OUTPUT] PROJECT.mwd\n"
    "       quorvin-gen --json [-s SETTINGS] [-o OUTPUT] PROJECT.mwd\n"
    "       quorvin-gen --help | --version\n"
    "\n"
    "Writes the C/C++ source of the window designed in PROJECT.mwd, byte for byte\n"
    "as the designer's code output writes it (code page 932, CR LF line ends).\n"
    "An output file is written only when its bytes change.\n"
    "\n"
    "  -t, --template FILE  the code template (default: code.txt in the current\n"
    "                       folder, code_unicode.txt with --unicode)\n"
    "  -u, --unicode        UTF-8 source for the wide API (W calls, L\"...\" texts),\n"
    "                       as the designer's Unicode output\n"
    "      --check          write nothing; exit 4, naming the first differing\n"
    "                       line, when the -o file is not what would be written\n"
    "      --strict         an ID name that repeats or is not an identifier is\n"
    "                       an error (exit 5), not a warning\n"
    "  -s, --settings FILE  the variable names (default: setting.ini in the\n"
    "                       current folder; without that file the generated code\n"
    "                       uses hWnd, hInst, hFont, hRgn and pt)\n"
    "  -o, --output FILE    write to FILE instead of standard output\n"
    "      --json           describe the project as UTF-8 JSON instead\n"
    "      --help           show this help and exit\n"
    "      --version        show the version and exit\n"
    "\n"
    "Exit status: 0 done; 1 a project, template or settings file is missing,\n"
    "unreadable or damaged; 2 wrong usage; 3 the output could not be written;\n"
    "4 --check found the output out of date; 5 --strict refused the ID names.\n";

// One failure: the line for standard error (without the program's name) and
// the exit code.
struct Failure {
  GenExit code;
  std::string message;
};

int fail(GenOutput& err, const Failure& failure) {
  err.write(std::string(kProgram) + ": " + failure.message + "\n");
  err.flush();
  return static_cast<int>(failure.code);
}

// A path given on the command line (UTF-8), taken from `cwd` when relative.
Path resolve(const std::string& arg, const Path& cwd) {
  Path path{std::u8string(arg.begin(), arg.end())};
  return path.is_absolute() ? path : cwd / path;
}

// A path as messages show it: UTF-8.
std::string shown(const Path& path) {
  const std::u8string text = path.u8string();
  std::string quoted(1, '\'');
  quoted.append(text.begin(), text.end());
  quoted += '\'';
  return quoted;
}

bool fileExists(const Path& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

// Why a file that a reader refused was refused: missing, unreadable, or
// readable but not what it should be.
Failure inputFailure(const char* what, const Path& path) {
  if (!fileExists(path)) return {GenExit::BadInput, std::string(what) + " " + shown(path) + " not found"};
  if (!readFileBytes(path))
    return {GenExit::BadInput, std::string("cannot read ") + what + " " + shown(path)};
  return {GenExit::BadInput, std::string(what) + " " + shown(path) +
                                 " is damaged (not a valid " + what + ")"};
}

struct Options {
  bool help = false;
  bool version = false;
  bool json = false;
  bool unicode = false;
  bool check = false;
  bool strict = false;
  std::optional<std::string> templateFile;
  std::optional<std::string> settingsFile;
  std::optional<std::string> outputFile;
  std::optional<std::string> projectFile;
};

std::optional<Failure> parseArguments(const std::vector<std::string>& args, Options& options) {
  const auto usage = [](std::string message) {
    return Failure{GenExit::Usage, std::move(message) + " (see quorvin-gen --help)"};
  };
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      if (options.projectFile) {
        return usage("more than one project file given: '" + *options.projectFile + "' and '" +
                     arg + "'");
      }
      options.projectFile = arg;
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--unicode" || arg == "-u") {
      options.unicode = true;
    } else if (arg == "--check") {
      options.check = true;
    } else if (arg == "--strict") {
      options.strict = true;
    } else if (arg == "-t" || arg == "--template" || arg == "-s" || arg == "--settings" ||
               arg == "-o" || arg == "--output") {
      std::optional<std::string>& slot = arg[1] == 't' || arg == "--template" ? options.templateFile
                                         : arg[1] == 's' || arg == "--settings"
                                             ? options.settingsFile
                                             : options.outputFile;
      if (i + 1 >= args.size() || args[i + 1].empty())
        return usage("option " + arg + " needs a file name");
      if (slot) return usage("option " + arg + " given more than once");
      slot = args[++i];
    } else {
      return usage("unknown option '" + arg + "'");
    }
  }
  if (options.help || options.version) return std::nullopt;
  if (!options.projectFile) return usage("no project file given");
  if (options.json && options.templateFile)
    return usage("--json describes the project and uses no template: drop -t");
  if (options.json && (options.unicode || options.strict))
    return usage("--json describes the project: drop --unicode and --strict");
  if (options.check && !options.outputFile)
    return usage("--check compares with the file given with -o");
  return std::nullopt;
}

// The variable names: from the settings file named with -s (which must be
// readable), else from setting.ini in `cwd` when there is one, else absent
// (the generator then writes its default names).
std::optional<Failure> loadNames(const Options& options, const Path& cwd, VariableNames& names) {
  const bool named = options.settingsFile.has_value();
  const Path path = named ? resolve(*options.settingsFile, cwd) : cwd / kSettingsFileName;
  if (!named && !fileExists(path)) return std::nullopt;
  // A setting.ini that is there but cannot be used is an error even when it
  // was not named: silently falling back to the default names would write
  // code that does not match what its author set up.
  if (!readSettings(path, names)) return inputFailure("settings file", path);
  return std::nullopt;
}

// Where the generated source goes, piece by piece as it is rendered (the
// source of a large design is never held whole): standard output; or -o's
// file, compared with what that file holds as the pieces come, and replaced
// only when they differ; or with --check only compared.
class SourceTarget {
 public:
  explicit SourceTarget(GenOutput& out) : out_(&out) {}
  SourceTarget(const Path& path, bool checkOnly)
      : path_(path), checkOnly_(checkOnly), onDisk_(openFile(path, "rb")) {
    if (!onDisk_) differs_ = true;
  }

  void operator()(std::string_view piece) {
    total_ += piece.size();
    if (out_ != nullptr) {
      out_->write(piece);
      return;
    }
    if (!differs_) {
      const std::size_t same = compareWithDisk(piece);
      if (same == piece.size()) {
        matched_ += same;
        return;
      }
      equalBytes_ = matched_ + same;
      differs_ = true;
    }
    if (checkOnly_) return;
    if (!replacement_) startReplacement();
    replacement_->write(piece);
  }

  std::optional<Failure> finish() {
    if (out_ != nullptr) {
      if (!out_->flush()) return Failure{GenExit::OutputFailed, "cannot write to standard output"};
      return std::nullopt;
    }
    // Equal so far: equal only when the file ends here too.
    if (!differs_ && (std::fgetc(onDisk_.get()) != EOF || std::ferror(onDisk_.get()))) {
      equalBytes_ = matched_;
      differs_ = true;
    }
    if (checkOnly_) {
      if (!differs_) return std::nullopt;
      if (!onDisk_ || readFailed_ || std::ferror(onDisk_.get())) {
        const char* why = fileExists(path_) ? " cannot be read" : " does not exist";
        return Failure{GenExit::Differs,
                       shown(path_) + why + ": it is not the generated source"};
      }
      return Failure{GenExit::Differs, shown(path_) +
                                           " differs from the generated source from line " +
                                           std::to_string(lineOfDifference()) + " on"};
    }
    // A file that holds the bytes already is left alone, so its time stays
    // and a build does not compile it again; an empty source is always
    // written (and then reported).
    if (!differs_ && total_ > 0) return std::nullopt;
    if (!replacement_) startReplacement();
    if (copyFailed_ || !replacement_->commit())
      return Failure{GenExit::OutputFailed, "cannot write " + shown(path_)};
    return std::nullopt;
  }

  std::size_t size() const { return total_; }

 private:
  // How many leading bytes of `piece` the file holds next.
  std::size_t compareWithDisk(std::string_view piece) {
    buffer_.resize(piece.size());
    const std::size_t read = std::fread(buffer_.data(), 1, piece.size(), onDisk_.get());
    if (read < piece.size() && std::ferror(onDisk_.get())) readFailed_ = true;
    // Equal pieces, the usual case, compared at memcmp's speed.
    if (read == piece.size() && std::memcmp(piece.data(), buffer_.data(), read) == 0) return read;
    const auto mismatch = std::mismatch(
        piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(read), buffer_.begin());
    return static_cast<std::size_t>(mismatch.first - piece.begin());
  }

  // The line of the file on which the first difference stands, counted in
  // the equal bytes before it, which the file holds: only --check's message
  // needs it, so an equal file is never counted.
  std::size_t lineOfDifference() {
    std::size_t lines = 1;
    if (!onDisk_ || std::fseek(onDisk_.get(), 0, SEEK_SET) != 0) return lines;
    buffer_.resize(std::min<std::size_t>(std::max<std::size_t>(equalBytes_, 1), kCodeFilePieceSize));
    for (std::size_t left = equalBytes_; left > 0;) {
      const std::size_t read =
          std::fread(buffer_.data(), 1, std::min(left, buffer_.size()), onDisk_.get());
      if (read == 0) break;
      lines += static_cast<std::size_t>(std::count(buffer_.data(), buffer_.data() + read, '\n'));
      left -= read;
    }
    return lines;
  }

  // The new file, starting with the bytes that matched, copied from the old.
  void startReplacement() {
    replacement_ = std::make_unique<FileReplacement>(path_);
    if (matched_ == 0) return;
    bool copied = std::fseek(onDisk_.get(), 0, SEEK_SET) == 0;
    buffer_.resize(std::min<std::size_t>(matched_, kCodeFilePieceSize));
    for (std::size_t left = matched_; copied && left > 0;) {
      const std::size_t count = std::min(left, buffer_.size());
      copied = std::fread(buffer_.data(), 1, count, onDisk_.get()) == count;
      if (copied) replacement_->write(std::string_view(buffer_.data(), count));
      left -= count;
    }
    // Only when the file changed or failed under us: nothing is replaced.
    if (!copied) copyFailed_ = true;
  }

  GenOutput* out_ = nullptr;
  Path path_;
  bool checkOnly_ = false;
  UniqueFile onDisk_;
  bool differs_ = false;
  bool readFailed_ = false;
  bool copyFailed_ = false;
  std::size_t matched_ = 0;     // bytes of the pieces the file holds as they are
  std::size_t equalBytes_ = 0;  // bytes equal to the file's before a difference
  std::size_t total_ = 0;
  std::string buffer_;
  std::unique_ptr<FileReplacement> replacement_;
};

// Writes `bytes` to -o's file, unless it holds them already (a build then
// sees an unchanged file and does not recompile it), or to `out`.
std::optional<Failure> writeOutput(const Options& options, const Path& cwd, GenOutput& out,
                                   std::string_view bytes) {
  if (options.outputFile) {
    const Path path = resolve(*options.outputFile, cwd);
    const std::optional<std::string> onDisk = readFileBytes(path, bytes.size() + 1);
    if (onDisk && *onDisk == bytes && !bytes.empty()) return std::nullopt;
    if (!writeFileReplacing(path, bytes))
      return Failure{GenExit::OutputFailed, "cannot write " + shown(path)};
    return std::nullopt;
  }
  out.write(bytes);
  if (!out.flush()) return Failure{GenExit::OutputFailed, "cannot write to standard output"};
  return std::nullopt;
}

std::string jsonText(std::string_view cp932) { return cp932ToUtf8(cp932); }

// The face name up to its terminator, never past the record's 32 bytes.
std::string_view faceName(const FontSpec& font) {
  const char* begin = font.lfFaceName;
  const char* end = static_cast<const char*>(std::memchr(begin, '\0', sizeof font.lfFaceName));
  return {begin, end != nullptr ? static_cast<std::size_t>(end - begin) : sizeof font.lfFaceName};
}

nlohmann::ordered_json pointsJson(const std::vector<RegionPoint>& points, std::int32_t count) {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  const std::size_t n = std::min(static_cast<std::size_t>(std::max(count, 0)), points.size());
  for (std::size_t i = 0; i < n; ++i) array.push_back({{"x", points[i].x}, {"y", points[i].y}});
  return array;
}

// The template file the options name.
Path templateFileOf(const Options& options, const Path& cwd) {
  const CodeEncoding encoding = options.unicode ? CodeEncoding::Utf8Wide : CodeEncoding::Cp932;
  return options.templateFile ? resolve(*options.templateFile, cwd)
                              : templateFor(cwd / kTemplateFileName, encoding);
}

// Streams the source of `source` to where the options say and reports as the
// designer does.
int writeSource(const Options& options, const Path& cwd, const Path& templateFile,
                const std::string& templateText, const CodeSource& source, GenOutput& out,
                GenOutput& err) {
  // As the designer writes it: up to the first NUL, CR LF line ends.
  SourceTarget target = options.outputFile
                            ? SourceTarget(resolve(*options.outputFile, cwd), options.check)
                            : SourceTarget(out);
  streamCodeFile(templateText, source, [&target](std::string_view piece) { target(piece); });
  if (std::optional<Failure> failure = target.finish()) return fail(err, *failure);
  if (options.check) return static_cast<int>(GenExit::Done);
  // The designer reports an empty source as a failed save; so does this
  // program, after leaving the same empty file.
  if (target.size() == 0) {
    return fail(err, {GenExit::OutputFailed,
                      "the generated source is empty (the template " + shown(templateFile) +
                          " is empty)"});
  }
  return static_cast<int>(GenExit::Done);
}

}  // namespace

void deriveRegionPoints(Project& project) {
  const std::size_t count = std::min(
      {static_cast<std::size_t>(std::max(project.pointCount, 0)), project.markerPoints.size(),
       project.regionPoints.size()});
  for (std::size_t i = 0; i < count; ++i) {
    const RegionPoint& marker = project.markerPoints[i];
    // In 64 bits: a file may hold any 32-bit numbers; the result wraps as
    // the designer's 32-bit arithmetic would.
    project.regionPoints[i] = {
        static_cast<std::int32_t>(std::int64_t{marker.x} - project.x + kMarkerHalf),
        static_cast<std::int32_t>(std::int64_t{marker.y} - project.y + kMarkerHalf)};
  }
}

std::vector<std::string> generatedStyleNames(const DesignObject& object) {
  // Rendered by the generator's own functions, then split at the bars, so
  // the list can never differ from what the statement holds.
  OutputBuffer buffer(256);
  buffer.append("WS_CHILD|");
  appendGeneralStyleNames(buffer, object.style);
  appendClassStyleNames(buffer, object.kind, object.style);
  std::vector<std::string> names;
  std::string_view rest = buffer.view();
  while (!rest.empty()) {
    const std::size_t bar = rest.find('|');
    names.emplace_back(rest.substr(0, bar));
    if (bar == std::string_view::npos) break;
    rest.remove_prefix(bar + 1);
  }
  return names;
}

std::string objectKindName(std::int32_t kind) {
  switch (kind) {
    case 300: return "BUTTON";
    case 400: return "EDIT";
    case 410: return "EDIT_M";
    case 420: return "EDIT_MV";
    case 430: return "EDIT_MH";
    case 440: return "EDIT_MVH";
    case 500: return "STATIC";
    case 600: return "LISTBOX";
    default: return {};
  }
}

std::string projectJson(const Project& project, const std::vector<DesignObject>& objects,
                        const VariableNames& names) {
  using nlohmann::ordered_json;
  const FontSpec& font = project.font;
  ordered_json json;
  json["title"] = jsonText(project.title);
  json["className"] = jsonText(project.className);
  json["x"] = project.x;
  json["y"] = project.y;
  json["width"] = project.width;
  json["height"] = project.height;
  json["font"] = {
      {"height", font.lfHeight},
      {"width", font.lfWidth},
      {"escapement", font.lfEscapement},
      {"orientation", font.lfOrientation},
      {"weight", font.lfWeight},
      {"italic", font.lfItalic},
      {"underline", font.lfUnderline},
      {"strikeOut", font.lfStrikeOut},
      {"charSet", font.lfCharSet},
      {"outPrecision", font.lfOutPrecision},
      {"clipPrecision", font.lfClipPrecision},
      {"quality", font.lfQuality},
      {"pitchAndFamily", font.lfPitchAndFamily},
      {"faceName", jsonText(faceName(font))},
  };
  const bool polygon = project.regionMode == RegionMode::Polygon;
  json["outline"] = {
      {"regionMode", static_cast<std::int32_t>(project.regionMode)},
      {"regionModeName", polygon ? "Polygon" : "Rectangle"},
      {"pointCount", project.pointCount},
      {"markerPoints", pointsJson(project.markerPoints, project.pointCount)},
      {"regionPoints", pointsJson(project.regionPoints, project.pointCount)},
  };
  json["variableNames"] = {
      {"hwnd", jsonText(names.hwnd)},   {"hinstance", jsonText(names.hinstance)},
      {"hfont", jsonText(names.hfont)}, {"hrgn", jsonText(names.hrgn)},
      {"point", jsonText(names.point)},
  };
  ordered_json list = ordered_json::array();
  const std::size_t count =
      std::min(static_cast<std::size_t>(std::max(project.objectCount, 0)), objects.size());
  for (std::size_t i = 0; i < count; ++i) {
    const DesignObject& object = objects[i];
    const auto kind = static_cast<std::int32_t>(object.kind);
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(object.style));
    list.push_back({
        {"kind", kind},
        {"kindName", objectKindName(kind)},
        {"x", object.x},
        {"y", object.y},
        {"width", object.width},
        {"height", object.height},
        {"caption", jsonText(object.caption)},
        {"idName", jsonText(object.idName)},
        // The number that the generated #define gives idName.
        {"controlId", 100 * (static_cast<std::int64_t>(i) + 1)},
        {"style", object.style},
        {"styleHex", hex},
        {"styleNames", generatedStyleNames(object)},
    });
  }
  json["objects"] = std::move(list);
  return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

bool StreamGenOutput::write(std::string_view bytes) {
  stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(stream_);
}

bool StreamGenOutput::flush() {
  stream_.flush();
  return static_cast<bool>(stream_);
}

int runQuorvinGen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const Path& cwd) {
  StreamGenOutput outOutput(out);
  StreamGenOutput errOutput(err);
  return runQuorvinGen(args, outOutput, errOutput, cwd);
}

int runQuorvinGen(const std::vector<std::string>& args, GenOutput& out, GenOutput& err,
                  const Path& cwd) {
  try {
    Options options;
    if (std::optional<Failure> failure = parseArguments(args, options)) return fail(err, *failure);
    if (options.help || options.version) {
      const std::string text = options.help
                                   ? std::string(kUsage)
                                   : std::string(kProgram) + " " + QUORVIN_VERSION + "\n";
      out.write(text);
      if (!out.flush()) return fail(err, {GenExit::OutputFailed, "cannot write to standard output"});
      return static_cast<int>(GenExit::Done);
    }

    // The project, with the region points its markers stand for.
    const Path projectPath = resolve(*options.projectFile, cwd);
    Project read;
    std::vector<DesignObject> readObjects;
    if (!readProject(projectPath, read, readObjects))
      return fail(err, inputFailure("project file", projectPath));
    deriveRegionPoints(read);

    // This program's names come from its own arguments only.
    read.variableNames = {};
    if (std::optional<Failure> failure = loadNames(options, cwd, read.variableNames))
      return fail(err, *failure);

    if (options.json) {
      const std::string json =
          projectJson(read, readObjects, namesWithDefaults(read.variableNames));
      if (std::optional<Failure> failure = writeOutput(options, cwd, out, json))
        return fail(err, *failure);
      return static_cast<int>(GenExit::Done);
    }

    const CodeEncoding encoding =
        options.unicode ? CodeEncoding::Utf8Wide : CodeEncoding::Cp932;
    const Path templateFile = templateFileOf(options, cwd);
    const std::optional<std::string> templateText = readCodeTemplate(templateFile);
    if (!templateText) return fail(err, inputFailure("template", templateFile));

    // ID names the source cannot use as they stand: a warning line each, or
    // with --strict an error and nothing written. One table of the names
    // serves both the warnings and the source.
    const CodeSource source = makeCodeSource(read, readObjects, encoding);
    const std::vector<IdNameWarning> warnings = idNameWarnings(source.objects, source.ids);
    for (const IdNameWarning& warning : warnings)
      err.write(std::string(kProgram) + ": warning: " + describeIdNameWarning(warning) + "\n");
    if (options.strict && !warnings.empty()) {
      return fail(err, {GenExit::Refused, std::to_string(warnings.size()) +
                                              " ID name problem(s) and --strict: nothing written"});
    }

    return writeSource(options, cwd, templateFile, *templateText, source, out, err);
  } catch (const std::bad_alloc&) {
    return fail(err, {GenExit::BadInput, "out of memory"});
  } catch (const std::exception& error) {
    return fail(err, {GenExit::BadInput, std::string("unexpected error: ") + error.what()});
  }
}

}  // namespace quorvin
