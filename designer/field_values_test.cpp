#include "designer/field_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvin {
namespace {

TEST(FieldNumbers, ParseLikeAnUnsignedDialogNumber) {
  struct Case {
    const char* text;
    std::uint32_t value;
    bool ok;
  };
  const Case cases[] = {
      {"0", 0, true},
      {"120", 120, true},
      {"007", 7, true},
      {"  42", 42, true},
      {"\t42", 42, true},
      {"4294967291", 4294967291u, true},
      {"4294967295", 4294967295u, true},
      {"4294967296", 0, false},  // one above the unsigned range
      {"99999999999999999999", 0, false},
      {"", 0, false},
      {"   ", 0, false},
      {"-5", 0, false},  // no sign in unsigned mode
      {"+5", 0, false},
      {"12a", 0, false},
      {"a12", 0, false},
      {"12 ", 0, false},
      {"1 2", 0, false},
      {"\x82\x50", 0, false},  // a full-width digit (CP932) is not a digit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parseFieldNumber(c.text), (FieldNumber{c.value, c.ok}));
  }
}

TEST(FieldNumbers, NegativeValuesTravelAsTheirUnsignedEquivalent) {
  EXPECT_EQ(formatFieldNumber(-5), "4294967291");
  EXPECT_EQ(formatFieldNumber(-1), "4294967295");
  EXPECT_EQ(formatFieldNumber(INT32_MIN), "2147483648");
  EXPECT_EQ(formatFieldNumber(0), "0");
  EXPECT_EQ(formatFieldNumber(INT32_MAX), "2147483647");
  for (std::int32_t v : {-5, -1, 0, 1, 200, INT32_MIN, INT32_MAX}) {
    const FieldNumber n = parseFieldNumber(formatFieldNumber(v));
    EXPECT_TRUE(n.ok);
    EXPECT_EQ(storedFieldValue(n.value), v);
  }
}

FieldTexts texts(const char* w, const char* h, const char* x, const char* y) {
  return {"Caption", "ID_NEW", w, h, x, y};
}

TEST(FieldApplication, NumbersStopAtTheFirstThatIsNotANumber) {
  struct Case {
    FieldTexts fields;
    bool all;
    std::int32_t w, h, x, y;
  };
  // The record before each application: 10, 20, 30, 40.
  const Case cases[] = {
      {texts("1", "2", "3", "4"), true, 1, 2, 3, 4},
      {texts("", "2", "3", "4"), false, 0, 20, 30, 40},     // W cleared: width 0, rest kept
      {texts("1", "x", "3", "4"), false, 1, 0, 30, 40},
      {texts("1", "2", "", "4"), false, 1, 2, 0, 40},
      {texts("1", "2", "3", "9999999999"), false, 1, 2, 3, 0},
      {texts("1", "2", "4294967291", "4294967295"), true, 1, 2, -5, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fields.width + "," + c.fields.height + "," + c.fields.x + "," + c.fields.y);
    DesignObject object;
    object.caption = "old";
    object.idName = "ID_OLD";
    object.width = 10;
    object.height = 20;
    object.x = 30;
    object.y = 40;
    EXPECT_EQ(applyObjectFieldTexts(object, c.fields), c.all);
    // Caption and ID are taken before the numbers, whatever these hold.
    EXPECT_EQ(object.caption, "Caption");
    EXPECT_EQ(object.idName, "ID_NEW");
    EXPECT_EQ(object.width, c.w);
    EXPECT_EQ(object.height, c.h);
    EXPECT_EQ(object.x, c.x);
    EXPECT_EQ(object.y, c.y);

    Project project;
    project.width = 10;
    project.height = 20;
    project.x = 30;
    project.y = 40;
    EXPECT_EQ(applyWindowFieldTexts(project, c.fields), c.all);
    EXPECT_EQ(project.title, "Caption");
    EXPECT_EQ(project.className, "ID_NEW");
    EXPECT_EQ(project.width, c.w);
    EXPECT_EQ(project.height, c.h);
    EXPECT_EQ(project.x, c.x);
    EXPECT_EQ(project.y, c.y);
  }
}

TEST(FieldApplication, ShownTextsReadBackUnchanged) {
  DesignObject object;
  object.caption = "\x83\x7b\x83\x5e\x83\x93";  // CP932 "ボタン"
  object.idName = "ID_B";
  object.width = 80;
  object.height = 24;
  object.x = -5;
  object.y = 7;
  const FieldTexts shown = objectFieldTexts(object);
  EXPECT_EQ(shown.x, "4294967291");
  DesignObject copy = object;
  EXPECT_TRUE(applyObjectFieldTexts(copy, shown));
  EXPECT_EQ(copy, object);

  // A polygon point: caption and ID empty, W and H 0; typed x and y are read
  // without the number check.
  EXPECT_EQ(pointFieldTexts({-3, 12}), (FieldTexts{"", "", "0", "0", "4294967293", "12"}));
  EXPECT_EQ(pointFromFieldTexts(pointFieldTexts({-3, 12})), (RegionPoint{-3, 12}));
  EXPECT_EQ(pointFromFieldTexts({"", "", "", "", "abc", "15"}), (RegionPoint{0, 15}));
}

// Several controls in the fields: what they share shows, what differs is
// empty; a key release changes only what was typed, in every control, and
// afterwards the typed values are what they all share.
TEST(FieldApplication, SeveralControlsShareWhatWasTyped) {
  std::uint64_t seed = 7;
  const auto below = [&seed](std::uint32_t bound) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::int32_t>((seed >> 33) % bound);
  };
  std::string FieldTexts::*const members[] = {&FieldTexts::caption, &FieldTexts::idName,
                                               &FieldTexts::width,   &FieldTexts::height,
                                               &FieldTexts::x,       &FieldTexts::y};
  for (int run = 0; run < 300; ++run) {
    std::vector<DesignObject> objects(static_cast<std::size_t>(1 + below(4)));
    for (DesignObject& o : objects) {
      o.caption = below(2) ? "OK" : "Cancel";
      o.idName = below(2) ? "ID_A" : "ID_B";
      o.width = 10 + below(2);
      o.height = 20;
      o.x = below(3) - 1;
      o.y = 5;
    }
    std::vector<const DesignObject*> pointers;
    for (const DesignObject& o : objects) pointers.push_back(&o);
    const FieldTexts shown = sharedFieldTexts(pointers);
    for (const auto member : members) {
      bool same = true;
      for (const DesignObject& o : objects)
        same = same && objectFieldTexts(o).*member == objectFieldTexts(objects[0]).*member;
      EXPECT_EQ(shown.*member, same ? objectFieldTexts(objects[0]).*member : "");
    }
    const std::vector<DesignObject> before = objects;
    // Nothing typed: nothing changes, also where the fields are empty.
    for (DesignObject& o : objects) EXPECT_FALSE(applyTypedFieldTexts(o, shown, shown));
    EXPECT_EQ(objects, before);
    FieldTexts typed = shown;
    const std::string choices[] = {"", "7", "4294967291", "Go", "x1"};
    const int field = below(6);
    typed.*members[field] = choices[below(5)];
    for (DesignObject& o : objects) applyTypedFieldTexts(o, shown, typed);
    const FieldTexts after = sharedFieldTexts(pointers);
    const bool isNumber = field >= 2;
    if (typed.*members[field] != shown.*members[field] &&
        (!isNumber || parseFieldNumber(typed.*members[field]).ok)) {
      EXPECT_EQ(after.*members[field], typed.*members[field]);
    }
    for (int other = 0; other < 6; ++other)
      if (other != field) {
        EXPECT_EQ(after.*members[other], shown.*members[other]);
      }
  }
}

}  // namespace
}  // namespace quorvin
