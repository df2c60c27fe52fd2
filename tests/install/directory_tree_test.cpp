// The directory list of the Keil directory dialog.
#include "install/directory_tree.h"

#include <gtest/gtest.h>

#include "support/temp_tree.h"

namespace edumac8::install {
namespace {

std::vector<std::string> Shown(const std::vector<DirectoryRow>& rows) {
  std::vector<std::string> out;
  for (const DirectoryRow& r : rows)
    out.push_back(std::string(r.depth, ' ') + (r.open ? "+" : "-") + r.name);
  return out;
}

TEST(DirectoryTree, ChainToTheCurrentDirectoryThenItsSubdirectories) {
  test::TempTree t;
  t.Mkdir("c/Keil/C51");
  t.Mkdir("c/Keil/arm");
  t.Mkdir("c/Keil/.hidden");
  t.Write("c/Keil/TOOLS.INI", "");
  t.Mkdir("c/Program Files");

  const std::string root = t.Path("c");
  EXPECT_EQ(Shown(DirectoryTreeRows(root, t.Path("c/Keil/"))),
            (std::vector<std::string>{"+" + root, " +Keil", "  -arm", "  -C51"}));
  const std::vector<DirectoryRow> top = DirectoryTreeRows(root + "/", root);
  EXPECT_EQ(Shown(top), (std::vector<std::string>{"+" + root, " -Keil", " -Program Files"}));
  EXPECT_EQ(top[2].path, t.Path("c/Program Files"));
  // A directory outside the drive shows the drive itself.
  EXPECT_EQ(Shown(DirectoryTreeRows(t.Path("c/Keil"), root)),
            (std::vector<std::string>{"+" + t.Path("c/Keil"), " -arm", " -C51"}));
}

}  // namespace
}  // namespace edumac8::install
