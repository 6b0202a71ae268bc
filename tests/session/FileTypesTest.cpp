// Registering and removing the file types under a private data folder.
#include <gtest/gtest.h>

#include "TestUtil.h"
#include "session/FileTypes.h"

namespace kelvra {
namespace {

TEST(FileTypes, RegisterWritesEntryAndPackageQuotedAndUnregisterRemovesThem) {
  test::TempDir dir;
  EXPECT_FALSE(FileTypesRegistered(dir.path()));
  ASSERT_TRUE(RegisterFileTypes(dir.path(), "/opt/my games/kelvra", true, false));
  EXPECT_TRUE(FileTypesRegistered(dir.path()));

  std::string entry = test::ReadText(dir.File("applications/kelvra.desktop"));
  EXPECT_NE(entry.find("Exec=\"/opt/my games/kelvra\" %f\n"), std::string::npos);
  EXPECT_NE(entry.find("application/x-kelvra-BrL;application/x-kelvra-MoL;"
                       "application/x-kelvra-BuL;application/x-kelvra-hsc;"),
            std::string::npos);
  std::string xml = test::ReadText(dir.File("mime/packages/kelvra.xml"));
  for (const char* text : {"<comment>Burrower Levels</comment>", "pattern=\"*.HSc\""})
    EXPECT_NE(xml.find(text), std::string::npos) << text;

  ASSERT_TRUE(RegisterFileTypes(dir.path(), "/opt/kelvra", false, false));
  EXPECT_FALSE(FileTypesRegistered(dir.path()));

  // The program's path is quoted for the desktop.
  ASSERT_TRUE(RegisterFileTypes(dir.path(), "/a\"b$c", true, false));
  entry = test::ReadText(dir.File("applications/kelvra.desktop"));
  EXPECT_NE(entry.find("Exec=\"/a\\\"b\\$c\" %f"), std::string::npos);
}

}  // namespace
}  // namespace kelvra
