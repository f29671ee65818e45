// The sample project files that the build uses (the worked example of
// quorvin_generate_window_source and the projects whose generated programs
// are compiled and run under Wine) are saved by the core from the designs
// below. This test saves them again and compares them with the committed
// files; run it with QUORVIN_UPDATE_GOLDEN=1 to write them anew after a
// deliberate change.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/project_file.h"
#include "app/settings_file.h"
#include "codegen/codegen_test_support.h"
#include "common/cp932.h"
#include "common/file_io.h"
#include "designer/outline_points.h"

namespace quorvin {
namespace {

const Path kSourceRoot = QUORVIN_SOURCE_ROOT;

std::string sj(const char* utf8) { return utf8ToCp932(utf8); }

using testing::makeObject;

struct Sample {
  Project project;
  std::vector<DesignObject> objects;
};

void setFace(FontSpec& font, const char* utf8) {
  const std::string face = sj(utf8);
  ASSERT_LT(face.size(), sizeof font.lfFaceName);
  std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
  std::memcpy(font.lfFaceName, face.data(), face.size());
}

// Every kind and every edit variant, a five-point outline, a bold italic
// underlined font with a Japanese face, texts whose second CP932 byte is a
// backslash (表, ソ).
Sample everyKind() {
  Sample sample;
  Project& project = sample.project;
  project.title = sj("サンプル表示");
  project.className = "SampleWindow";
  project.font = defaultFontSpec();  // ＭＳ ゴシック
  project.font.lfHeight = -16;
  project.font.lfWeight = 700;
  project.font.lfItalic = 1;
  project.font.lfUnderline = 1;
  project.regionMode = RegionMode::Polygon;
  project.growPointArrays(15);
  project.pointCount = 5;
  const RegionPoint markers[] = {{30, 20}, {390, 20}, {390, 290}, {210, 340}, {30, 290}};
  std::copy(std::begin(markers), std::end(markers), project.markerPoints.begin());
  // The rectangle that the designer stores for these markers under Wine's
  // frame metrics.
  const PixelRect rect = outlineWindowRect({markers, 5}, FrameMetrics{4, 4, 19});
  project.x = rect.x;
  project.y = rect.y;
  project.width = rect.width;
  project.height = rect.height;
  sample.objects = testing::everyKindObjects();
  project.objectCount = static_cast<std::int32_t>(sample.objects.size());
  return sample;
}

// No outline, other flags of every family, a disabled control, another
// Japanese face with strike-out, its own variable names (plain_setting.ini).
Sample plain() {
  Sample sample;
  Project& project = sample.project;
  project.title = sj("ソフト表示");
  project.className = "PlainWindow";
  project.x = 60;
  project.y = 40;
  project.width = 340;
  project.height = 260;
  project.font = defaultFontSpec();
  project.font.lfHeight = -15;
  project.font.lfStrikeOut = 1;
  setFace(project.font, "ＭＳ 明朝");
  sample.objects = {
      makeObject(ObjectKind::BUTTON, sj("機能"), "ID_RUN", 0x50000001, 10, 10, 100, 26),
      makeObject(ObjectKind::BUTTON, sj("無効"), "ID_OFF", 0x58000000, 120, 10, 100, 26),
      makeObject(ObjectKind::BUTTON, sj("三状態"), "ID_THREE", 0x50000006, 10, 45, 120, 20),
      makeObject(ObjectKind::BUTTON, sj("左テキスト"), "ID_LEFT", 0x50000022, 140, 45, 140, 20),
      makeObject(ObjectKind::EDIT, "secret", "ID_PASS", 0x500000A0, 10, 75, 120, 22),
      makeObject(ObjectKind::EDIT, "42", "ID_NUMBER", 0x50002082, 140, 75, 120, 22),
      makeObject(ObjectKind::EDIT_M, sj("読み取り専用"), "ID_NOTE", 0x50000844, 10, 105, 150, 50),
      makeObject(ObjectKind::STATIC, sj("表示&A"), "ID_CAPTION", 0x50000082, 170, 105, 120, 20),
      makeObject(ObjectKind::STATIC, "", "ID_FRAME", 0x50000007, 170, 130, 120, 30),
      makeObject(ObjectKind::LISTBOX, "", "ID_CHOICES", 0x50A00109, 10, 165, 150, 60),
  };
  project.objectCount = static_cast<std::int32_t>(sample.objects.size());
  return sample;
}

// What the first generated code got wrong: ID names repeated (as old files
// hold them), empty and not identifiers; quotes and backslashes in the
// title, the class name and the captions, beside characters whose second
// byte is a backslash (表, ソ, 能); radio buttons and a multi-line edit in the
// tab order.
Sample names() {
  Sample sample;
  Project& project = sample.project;
  project.title = sj("\"引用\" \\ 表示");
  project.className = "Names\\Window";
  project.x = 50;
  project.y = 30;
  project.width = 300;
  project.height = 260;
  project.font = defaultFontSpec();
  sample.objects = {
      makeObject(ObjectKind::BUTTON, "Say \"hi\"", "ID_BUTTON", 0x50002300, 10, 10, 100, 26),
      makeObject(ObjectKind::BUTTON, "C:\\new", "ID_BUTTON", 0x50002300, 120, 10, 100, 26),
      makeObject(ObjectKind::EDIT, sj("表\\ソ\""), "", 0x50010080, 10, 45, 120, 22),
      makeObject(ObjectKind::EDIT_M, sj("能\\n"), "ID_NOTE", 0x50011044, 140, 45, 130, 44),
      makeObject(ObjectKind::STATIC, sj("ラベル\\"), "ID LABEL", 0x50000000, 10, 75, 120, 20),
      makeObject(ObjectKind::BUTTON, sj("ラジオ1"), "ID_RADIO", 0x50000009, 10, 100, 120, 20),
      makeObject(ObjectKind::BUTTON, sj("ラジオ2"), "", 0x50000009, 140, 100, 120, 20),
      makeObject(ObjectKind::LISTBOX, "", "ID_LIST", 0x50A00003, 10, 130, 260, 80),
  };
  project.objectCount = static_cast<std::int32_t>(sample.objects.size());
  return sample;
}

const VariableNames kPlainNames{"hMain", "hInstance", "hUiFont", "hShape", "vertices"};

// The worked example: a greeting and a button.
Sample hello() {
  Sample sample;
  Project& project = sample.project;
  project.title = "Hello";
  project.className = "HelloWindow";
  project.x = 120;
  project.y = 80;
  project.width = 240;
  project.height = 140;
  project.font = defaultFontSpec();
  sample.objects = {
      makeObject(ObjectKind::STATIC, sj("こんにちは"), "ID_GREETING", 0x50000001, 20, 15, 190, 20),
      makeObject(ObjectKind::BUTTON, "OK", "ID_OK", 0x50000001, 75, 50, 80, 26),
  };
  project.objectCount = static_cast<std::int32_t>(sample.objects.size());
  return sample;
}

bool updating() {
  const char* update = std::getenv("QUORVIN_UPDATE_GOLDEN");
  return update != nullptr && std::string(update) == "1";
}

void checkFile(const Path& relative, const std::string& bytes) {
  const Path path = kSourceRoot / relative;
  if (updating()) {
    ASSERT_TRUE(writeFileReplacing(path, bytes)) << path;
    return;
  }
  const std::optional<std::string> committed = readFileBytes(path);
  ASSERT_TRUE(committed.has_value()) << path << " is missing; run with QUORVIN_UPDATE_GOLDEN=1";
  EXPECT_TRUE(*committed == bytes) << path << " differs from what the core saves; run with "
                                   << "QUORVIN_UPDATE_GOLDEN=1 and review";
}

void checkSample(const Sample& sample, const Path& relative) {
  ASSERT_TRUE(canSaveProject(sample.project, sample.objects));
  checkFile(relative, serializeProject(sample.project, sample.objects));
  // And the file reads back as the design.
  Project read;
  std::vector<DesignObject> objects;
  ASSERT_TRUE(parseProject(readFileBytes(kSourceRoot / relative).value_or(""), read, objects));
  EXPECT_EQ(read.title, sample.project.title);
  EXPECT_EQ(read.objectCount, sample.project.objectCount);
  EXPECT_EQ(read.font, sample.project.font);
}

TEST(QuorvinGenSamples, CommittedProjectFilesAreWhatTheCoreSaves) {
  checkSample(everyKind(), "tools/window_probe/samples/every_kind.mwd");
  checkSample(plain(), "tools/window_probe/samples/plain.mwd");
  checkFile("tools/window_probe/samples/plain_setting.ini", serializeSettings(kPlainNames));
  checkSample(names(), "tools/window_probe/samples/names.mwd");
  checkSample(hello(), "tools/quorvin_gen/example/hello.mwd");
}

}  // namespace
}  // namespace quorvin
