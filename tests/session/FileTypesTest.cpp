// Registering and removing the file types under a private data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "TestUtil.h"
#include "session/FileTypes.h"

namespace kelvra {
namespace {

// Every regular file below `root`, relative to it.
std::set<std::string> FilesBelow(const std::string& root) {
  std::set<std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root))
    if (e.is_regular_file()) files.insert(e.path().lexically_relative(root).string());
  return files;
}

// The <mime-type> element of `type` in the package.
std::string MimeTypeBlock(const std::string& xml, const std::string& type) {
  const size_t start = xml.find("<mime-type type=\"" + type + "\">");
  if (start == std::string::npos) return "";
  return xml.substr(start, xml.find("</mime-type>", start) - start);
}

TEST(FileTypes, PackageTellsEachKindByMagicAndExtension) {
  const std::string xml = MimePackage();
  struct TCase {
    const char* type;
    const char* glob;
    std::vector<const char*> magics;  // none: the extension alone tells the type
    const char* icon;
  };
  const TCase cases[] = {
      {"application/x-kelvra-BrL", "*.BrL", {"GBrL", "BLvs"}, "kelvra-brickfall"},
      {"application/x-kelvra-MoL", "*.MoL", {"GMoL"}, "kelvra-monsters"},
      {"application/x-kelvra-BuL", "*.BuL", {"GBuL"}, "kelvra-burrower"},
      {"application/x-kelvra-hsc", "*.HSc", {}, "kelvra-high-scores"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.type);
    const std::string block = MimeTypeBlock(xml, c.type);
    ASSERT_FALSE(block.empty());
    EXPECT_NE(block.find(std::string("<glob pattern=\"") + c.glob + "\" case-sensitive=\"false\""),
              std::string::npos);
    EXPECT_NE(block.find(std::string("<icon name=\"") + c.icon + "\"/>"), std::string::npos);
    EXPECT_EQ(block.find("<magic") != std::string::npos, !c.magics.empty());
    for (const char* magic : c.magics)
      EXPECT_NE(block.find(std::string("offset=\"0\" value=\"") + magic + "\""), std::string::npos)
          << magic;
  }
}

TEST(FileTypes, UnregisterRemovesExactlyWhatRegisterWrote) {
  test::TempDir dir;
  const std::string icons = std::string(KELVRA_TEST_DATA_DIR) + "/Icons/hicolor/";
  // Files of other programs in the same folders, which must survive.
  std::filesystem::create_directories(dir.File("icons/hicolor/48x48/apps"));
  std::filesystem::create_directories(dir.File("applications"));
  test::WriteText(dir.File("icons/hicolor/48x48/apps/other.png"), "other");
  test::WriteText(dir.File("applications/other.desktop"), "[Desktop Entry]\n");
  const std::set<std::string> before = FilesBelow(dir.path());

  EXPECT_FALSE(FileTypesRegistered(dir.path()));
  ASSERT_TRUE(RegisterFileTypes(dir.path(), "/opt/my games/kelvra", icons, true, false));
  EXPECT_TRUE(FileTypesRegistered(dir.path()));
  std::set<std::string> expected = before;
  expected.insert({"applications/kelvra.desktop", "mime/packages/kelvra.xml"});
  for (const std::string& icon : IconFiles()) {
    expected.insert("icons/hicolor/" + icon);
    EXPECT_EQ(test::ReadAll(dir.File("icons/hicolor/" + icon)), test::ReadAll(icons + icon));
  }
  EXPECT_EQ(FilesBelow(dir.path()), expected);
  EXPECT_EQ(test::ReadText(dir.File("mime/packages/kelvra.xml")), MimePackage());

  const std::string entry = test::ReadText(dir.File("applications/kelvra.desktop"));
  EXPECT_NE(entry.find("Exec=\"/opt/my games/kelvra\" %f\n"), std::string::npos);
  EXPECT_NE(entry.find("Icon=kelvra\n"), std::string::npos);
  EXPECT_NE(entry.find("MimeType=application/x-kelvra-BrL;application/x-kelvra-MoL;"
                       "application/x-kelvra-BuL;application/x-kelvra-hsc;\n"),
            std::string::npos);

  ASSERT_TRUE(RegisterFileTypes(dir.path(), "/opt/kelvra", icons, false, false));
  EXPECT_FALSE(FileTypesRegistered(dir.path()));
  EXPECT_EQ(FilesBelow(dir.path()), before);

  // Missing icons make registering fail, yet it writes what it can; the program's path is
  // quoted for the desktop.
  EXPECT_FALSE(RegisterFileTypes(dir.path(), "/a\"b$c", dir.File("none/"), true, false));
  EXPECT_NE(test::ReadText(dir.File("applications/kelvra.desktop")).find("Exec=\"/a\\\"b\\$c\" %f"),
            std::string::npos);
  ASSERT_TRUE(RegisterFileTypes(dir.path(), "/opt/kelvra", icons, false, false));
  EXPECT_EQ(FilesBelow(dir.path()), before);
}

}  // namespace
}  // namespace kelvra
