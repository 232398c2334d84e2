// The six settings across a restart: the first run, values restored, and the
// stored values that are clamped, ignored or end the reading.
#include <QFile>

#include "WindowFixture.h"

namespace trovenix::test {
namespace {

struct StoredValue {
  const char* Name;
  QVariant Value;  // invalid: the value is not in the store
};

struct SettingsCase {
  const char* Title;
  std::vector<StoredValue> Store;
  // What the window shows after start-up.
  std::string Folder;
  int Format;
  bool Overwrite;
  int DropDownItems;
  int LetterBox;
  const char* Skin;
  bool Rewritten;  // the store was written back at start-up
};

// Test names and failures show the case by its title.
void PrintTo(const SettingsCase& c, std::ostream* os) {
  *os << c.Title;
}

class SettingsTest : public WindowFixture, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(SettingsTest, StartUpReadsTheStore) {
  const SettingsCase& c = GetParam();
  {
    QSettings settings(QStringLiteral("Qelvar"), QStringLiteral("Marlune"));
    for (const StoredValue& v : c.Store)
      if (v.Value.isValid()) settings.setValue(v.Name, v.Value);
  }
  const QString file = configDir.path() + "/Qelvar/Marlune.conf";
  QByteArray contentBefore;
  {
    QFile f(file);
    if (f.open(QIODevice::ReadOnly)) contentBefore = f.readAll();
  }

  StartUp();
  const TForm1Ui& ui = form1->Ui();
  EXPECT_EQ(ui.EditOutputFolder->text().toStdString(), c.Folder);
  EXPECT_EQ(ui.ComboOutputFormat->currentIndex(), c.Format);
  EXPECT_EQ(form4->CheckOverwrite()->isChecked(), c.Overwrite);
  EXPECT_EQ(form4->SpinDropDownItems()->value(), c.DropDownItems);
  EXPECT_EQ(ui.ComboOutputFormat->maxVisibleItems(), c.DropDownItems);
  EXPECT_EQ(ui.ComboLetterBox->currentIndex(), c.LetterBox);
  EXPECT_EQ(dialogs.Skin().toStdString(), c.Skin);

  QByteArray contentAfter;
  {
    QFile f(file);
    if (f.open(QIODevice::ReadOnly)) contentAfter = f.readAll();
  }
  if (!c.Rewritten) {
    EXPECT_EQ(contentAfter, contentBefore);
    return;
  }
  // Written back: the six values, as the window now shows them, integers
  // as integers.
  TQtSettingsStore& s = Store();
  EXPECT_EQ(s.ReadString("Output Folder"), c.Folder);
  EXPECT_EQ(s.ReadInteger("ComboOutputFormat"), c.Format);
  EXPECT_EQ(s.ReadInteger("Overwrite"), c.Overwrite ? 1 : 0);
  EXPECT_EQ(s.ReadInteger("DropDownItems"), c.DropDownItems);
  EXPECT_EQ(s.ReadInteger("LetterBox"), c.LetterBox);
  EXPECT_EQ(s.ReadString("Skin"), std::string(c.Skin));
  EXPECT_TRUE(contentAfter.contains("\nDropDownItems=")) << contentAfter.toStdString();
}

const std::vector<StoredValue> FullStore(const char* dropped = nullptr,
                                         std::pair<const char*, QVariant> changed = {}) {
  std::vector<StoredValue> values = {
      {"Output Folder", QStringLiteral("/data/Vidéos")},
      {"ComboOutputFormat", 26},
      {"Overwrite", 1},
      {"DropDownItems", 33},
      {"LetterBox", 1},
      {"Skin", QStringLiteral("Vista")},
  };
  for (StoredValue& v : values) {
    if (dropped && std::string(v.Name) == dropped) v.Value = QVariant();
    if (changed.first && std::string(v.Name) == changed.first) v.Value = changed.second;
  }
  return values;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsTest,
    ::testing::Values(
        SettingsCase{"FirstRunFillsTheStore", {}, "", 0, false, 24, 0, "Elegance", true},
        SettingsCase{"EveryValueRestored", FullStore(), "/data/Vidéos", 26, true, 33, 1, "Vista",
                     false},
        SettingsCase{"DropDownItemsAboveTheRangeShows60",
                     FullStore(nullptr, {"DropDownItems", 100}), "/data/Vidéos", 26, true, 60, 1,
                     "Vista", false},
        SettingsCase{"DropDownItemsBelowTheRangeShows20", FullStore(nullptr, {"DropDownItems", 3}),
                     "/data/Vidéos", 26, true, 20, 1, "Vista", false},
        SettingsCase{"NegativeFormatKeepsTheFirst", FullStore(nullptr, {"ComboOutputFormat", -1}),
                     "/data/Vidéos", 0, true, 33, 1, "Vista", false},
        SettingsCase{"BlankSkinGivesElegance", FullStore(nullptr, {"Skin", QStringLiteral("   ")}),
                     "/data/Vidéos", 26, true, 33, 1, "Elegance", false},
        // The reading stops at the missing value and the store is rewritten
        // with what the window shows by then.
        SettingsCase{"DeletedOverwriteRewritesTheStore", FullStore("Overwrite"), "/data/Vidéos", 26,
                     false, 24, 0, "Elegance", true},
        SettingsCase{"TextWhereAnIntegerBelongsRewritesTheStore",
                     FullStore(nullptr, {"DropDownItems", QStringLiteral("many")}), "/data/Vidéos",
                     26, true, 24, 0, "Elegance", true}),
    [](const ::testing::TestParamInfo<SettingsCase>& info) { return info.param.Title; });

}  // namespace
}  // namespace trovenix::test
