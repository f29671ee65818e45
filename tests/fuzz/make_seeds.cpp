// Writes the project-file seeds of the fuzz corpus, and the code-generation
// seeds that pair the shipped template with them, as the core saves them.
//   fuzz_make_seeds <repository root>
// The output is committed under tests/fuzz/corpus/; run this again only when
// the file format changes.

#include <cstdio>
#include <string>
#include <vector>

#include "app/project_file.h"
#include "codegen/code_output.h"
#include "common/file_io.h"
#include "tests/property/random_design.h"

namespace {

using namespace quorvin;

struct Seed {
  const char* name;
  Project project;
  std::vector<DesignObject> objects;
};

DesignObject control(ObjectKind kind, std::int32_t x, std::int32_t y, std::uint32_t style,
                     std::string caption, std::string idName) {
  DesignObject o;
  o.kind = kind;
  o.x = x;
  o.y = y;
  o.width = 80;
  o.height = 24;
  o.style = style;
  o.caption = std::move(caption);
  o.idName = std::move(idName);
  return o;
}

Project window(std::string title, std::string className) {
  Project p;
  p.title = std::move(title);
  p.className = std::move(className);
  p.x = 120;
  p.y = 80;
  p.width = 208;
  p.height = 227;
  p.font = defaultFontSpec();
  return p;
}

std::vector<Seed> seeds() {
  std::vector<Seed> list;

  Seed empty{"empty.mwd", window("", ""), {}};
  list.push_back(empty);

  Seed button{"button.mwd", window("Test", "TestClass"), {}};
  button.objects.push_back(control(ObjectKind::BUTTON, 10, 20, 0x50002300, "Button", "ID_BUTTON"));
  list.push_back(button);

  // Every kind, commas, spaces, Japanese, empty texts, negative places.
  Seed kinds{"every_kind.mwd", window("a,b c", "\x93\xFA\x96\x7B,Class"), {}};
  kinds.project.x = -12;
  kinds.objects.push_back(control(ObjectKind::BUTTON, 1, 2, 0x50000003, "Check,box", "ID_CHECK"));
  kinds.objects.push_back(control(ObjectKind::EDIT, 1, 30, 0x50010080, "Edit", "ID_EDIT"));
  kinds.objects.push_back(control(ObjectKind::EDIT_M, 1, 60, 0x50011004, "", ""));
  kinds.objects.push_back(control(ObjectKind::EDIT_MV, -5, 90, 0x50211004, "v", "ID_V"));
  kinds.objects.push_back(control(ObjectKind::EDIT_MH, 1, 120, 0x50111004, "h", "ID_H"));
  kinds.objects.push_back(control(ObjectKind::EDIT_MVH, 1, 150, 0x50311004, "vh", "ID_VH"));
  kinds.objects.push_back(
      control(ObjectKind::STATIC, 100, 2, 0x50000000, "\x83\x5C\x83\x74\x83\x67", "ID_STATIC"));
  kinds.objects.push_back(control(ObjectKind::LISTBOX, 100, 40, 0x50A00001, "", "ID_LIST"));
  list.push_back(kinds);

  // A five-point outline and a font record holding line feeds and CRs.
  Seed polygon{"polygon.mwd", window("Poly", "PolyClass"), {}};
  polygon.project.regionMode = RegionMode::Polygon;
  polygon.project.pointCount = 5;
  polygon.project.growPointArrays(15);
  const RegionPoint points[] = {{130, 90}, {300, 85}, {320, 250}, {200, 310}, {125, 200}};
  for (int i = 0; i < 5; ++i) polygon.project.markerPoints[i] = points[i];
  polygon.project.font.lfHeight = 0x0A0D0A;
  polygon.project.font.lfWeight = 700;
  polygon.objects.push_back(control(ObjectKind::BUTTON, 10, 20, 0x50002300, "OK", "IDOK"));
  list.push_back(polygon);

  // Two random designs from the round-trip generator.
  testing::Random random(1);
  for (const char* name : {"random_1.mwd", "random_2.mwd"}) {
    testing::RandomDesign design = testing::randomDesign(300, random);
    list.push_back(Seed{name, design.project, design.objects});
  }
  for (Seed& seed : list) {
    seed.project.objectCount = static_cast<std::int32_t>(seed.project.objectCount > 0
                                                              ? seed.project.objectCount
                                                              : seed.objects.size());
  }
  return list;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_make_seeds <repository root>\n");
    return 2;
  }
  const Path root = argv[1];
  const Path corpus = root / "tests" / "fuzz" / "corpus";
  const std::optional<std::string> code = readCodeTemplate(root / "codegen" / "code.txt");
  if (!code) {
    std::fprintf(stderr, "cannot read codegen/code.txt\n");
    return 1;
  }
  std::filesystem::create_directories(corpus / "project");
  std::filesystem::create_directories(corpus / "codegen");
  for (const Seed& seed : seeds()) {
    if (!canSaveProject(seed.project, seed.objects)) {
      std::fprintf(stderr, "%s cannot be saved\n", seed.name);
      return 1;
    }
    const std::string file = serializeProject(seed.project, seed.objects);
    // The codegen seed: the template, a NUL, then the design.
    if (!writeFileReplacing(corpus / "project" / seed.name, file) ||
        !writeFileReplacing(corpus / "codegen" / (std::string(seed.name) + ".seed"),
                            *code + std::string(1, '\0') + file)) {
      std::fprintf(stderr, "cannot write the seeds of %s\n", seed.name);
      return 1;
    }
  }
  return 0;
}
