#include "app/SkinCatalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/SkinFolder.h"

namespace trovenix {
namespace {

using test::TSkinFolder;

const std::vector<std::string> BuiltIn = {"Acryl (internal)",
                                          "DarkGlass (internal)",
                                          "Elegance (internal)",
                                          "Golden (internal)",
                                          "Grey (internal)",
                                          "MacOS2 (internal)",
                                          "Office2007 Blue (internal)",
                                          "Opus (internal)",
                                          "Sporting (internal)",
                                          "Vista (internal)"};

TEST(SkinCatalogue, WithoutFolderListsTheTenBuiltInSkinsSorted) {
  TSkinCatalogue catalogue;
  EXPECT_EQ(catalogue.Names(), BuiltIn);
  catalogue.SetFolder("/nonexistent/Skins");
  EXPECT_EQ(catalogue.Names(), BuiltIn);
}

TEST(SkinCatalogue, ReadableSheetFilesJoinInAlphabeticalOrder) {
  TSkinFolder folder;
  folder.Write("Blue.qss", "QWidget {}");
  folder.Write("zebra.QSS", "");
  folder.Write("notes.txt", "not a skin");
  folder.Write("Elegance (internal).qss", "taken by the built-in skin");
  std::filesystem::create_directory(folder.Path() / "Folder.qss");  // not a file
  std::filesystem::create_symlink(folder.Path() / "gone", folder.Path() / "Gone.qss");  // dangling
  TSkinCatalogue catalogue;
  catalogue.SetFolder(folder.Path().string());

  std::vector<std::string> expected = BuiltIn;
  expected.insert(expected.begin() + 1, "Blue");
  expected.push_back("zebra");
  EXPECT_EQ(catalogue.Names(), expected);

  // Files added later show up at the next listing.
  folder.Write("Amber.qss", "");
  EXPECT_EQ(catalogue.Names()[1], "Amber");
}

TEST(SkinCatalogue, FindsFullNamesAndPlainBuiltInNames) {
  TSkinFolder folder;
  folder.Write("Mine.qss", "");
  TSkinCatalogue catalogue;
  catalogue.SetFolder(folder.Path().string());

  struct TCase {
    const char* Asked;
    const char* Found;  // nullptr: none
    bool Internal;
  };
  for (const TCase& c : {TCase{"Elegance", "Elegance (internal)", true},
                         TCase{"Elegance (internal)", "Elegance (internal)", true},
                         TCase{"Office2007 Blue", "Office2007 Blue (internal)", true},
                         TCase{"Mine", "Mine", false}, TCase{"elegance", nullptr, false},
                         TCase{"", nullptr, false}, TCase{"Nothing", nullptr, false}}) {
    const std::optional<TSkinEntry> entry = catalogue.Find(c.Asked);
    if (!c.Found) {
      EXPECT_FALSE(entry) << c.Asked;
      continue;
    }
    ASSERT_TRUE(entry) << c.Asked;
    EXPECT_EQ(entry->Name, c.Found);
    EXPECT_EQ(entry->Internal, c.Internal);
  }

  // A file of the plain name is that skin, not the built-in one.
  folder.Write("Elegance.qss", "");
  EXPECT_EQ(catalogue.Find("Elegance")->Name, "Elegance");
}

}  // namespace
}  // namespace trovenix
