// Tests of the table of options: every row's consistency and known rows with their sections
// and menu captions. The field each row reaches shows in the settings file written.
#include "common/Options.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>

#include "common/Com.h"
#include "common/Kinds.h"

namespace kelvra {
namespace {

class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCom();
    gOptions = TOptions{};
  }
  void TearDown() override { SetUp(); }
};

// Every row, whatever its kind: a default within its range, a field of the matching type
// in exactly one of the two records, a key unique in its section, and a menu dialog only
// for a number.
TEST_F(OptionsTest, EveryRowIsConsistent) {
  std::map<std::string, std::set<std::string>> keys;
  for (const TOptionDef& o : kOptions) {
    SCOPED_TRACE(o.key ? o.key : "(not stored)");
    TOptions options;
    TCom com{};
    const TOptionRef inOptions = o.at(&options, nullptr), inCom = o.at(nullptr, &com);
    EXPECT_NE(bool(inOptions), bool(inCom));
    const TOptionRef r = inOptions ? inOptions : inCom;
    switch (o.kind) {
      case okFlag:
        EXPECT_TRUE(r.byte && (o.def == 0 || o.def == 1) && o.min == 0 && o.max == 1);
        break;
      case okNumber:
        EXPECT_TRUE(r.number || (r.byte && o.min >= 0 && o.max <= 255));
        EXPECT_TRUE(o.min <= o.def && o.def <= o.max);
        break;
      case okText:
        ASSERT_TRUE(r.text);
        ASSERT_TRUE(o.defText);
        // A blank stored text loads as the default, so the default is never blank.
        EXPECT_NE(std::string(o.defText).find_first_not_of(" \t"), std::string::npos);
        break;
    }
    if (o.key) {
      EXPECT_TRUE(keys[o.Section()].insert(o.key).second) << "twice in its section";
    }
    if (o.title) {
      EXPECT_EQ(o.kind, okNumber);
      EXPECT_TRUE(o.label);
      EXPECT_TRUE(o.min <= o.DialogDefault() && o.DialogDefault() <= o.max);
    }
    EXPECT_TRUE(o.game >= (o.lockedWhileRunning ? 0 : -1) && o.game < kKinds);  // its own game
  }
}

// Known rows, so that a slip in the table shows as a change of the program's behaviour; a
// dialog row also gives its menu caption, its dialog title and whether it asks for a time.
TEST_F(OptionsTest, KnownRows) {
  struct Case {
    OptionId id;
    const char* section;
    const char* key;
    int32_t def, min, max;
    const char* caption;  // with the default shown; nullptr: no dialog
    const char* title;
    bool time;
  };
  const Case cases[] = {
      {opDelayTime, "Options", "DelayTime", 20, 0, 1000, "Custom F/s Delay (20)...", "F/s Delay",
       false},
      {opBonusTime, "Monsters", "BonusTime", 500, 0, 10000, "Bonus Time (500)...", "Bonus Time",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    const TOptionDef& o = kOptions[c.id];
    EXPECT_EQ(std::make_tuple(std::string(o.Section()), std::string(o.key), o.def, o.min, o.max,
                              bool(o.title)),
              std::make_tuple(std::string(c.section), std::string(c.key), c.def, c.min, c.max,
                              bool(c.caption)));
    if (!c.caption) continue;
    EXPECT_EQ(OptionCaption(c.id, c.def), c.caption);
    EXPECT_EQ(o.DialogDefault(), c.id == opDelayTime ? 0 : c.def);  // F/s offers no delay
    EXPECT_EQ(std::make_pair(std::string(o.title), bool(o.time)),
              std::make_pair(std::string(c.title), c.time));
  }
  EXPECT_EQ(OptionCaption(opScorePlayer, -1000), "Score Player (-1000)...");
}

}  // namespace
}  // namespace kelvra
