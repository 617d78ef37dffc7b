// An installation whose users Windows keeps in the VirtualStore, upgraded
// through the store's view and compared with the same users in an ordinary
// folder.
#include "platform/virtual_store_platform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "demo/installation_builder.h"
#include "platform/native_path.h"
#include "support/holds_value.h"
#include "support/native_files.h"
#include "support/opened_installation.h"
#include "support/test_platform.h"
#include "texts/texts.h"
#include "upgrade/upgrade_runner.h"

namespace dayledger {
namespace {

using demo::InstallationBuilder;
using demo::UserSpec;
using testing::NativeTree;
using testing::SnapshotTree;
using testing::TestPlatform;

// Upgrades the named user of the installation at `app_dir`, as the terminal
// program does; the password is UTF-8.
Outcome UpgradeUser(Platform& platform, MessageBoxes& boxes, const Path& app_dir,
                    const std::string& name, const std::string& password) {
  UpgradePort no_log;
  Installation installation = testing::OpenedOn(platform, app_dir);
  UpgradeTool tool(installation, no_log);
  tool.LoadUsers();
  StartRequest request;
  for (size_t i = 0; i < tool.users().size(); ++i) {
    if (tool.users()[i] == name) request.user = tool.NameAt(static_cast<int>(i));
  }
  tool.ShowUser(request.user);
  request.password = password;
  BoxedNotices notices(installation.platform(), boxes);
  return RunUpgrade(tool, request, notices).outcome;
}

TEST(VirtualStorePlatformTest, UpgradesTheSchedulersViewAndLeavesTheRealFolderAlone) {
  TestPlatform disk;
  // The real folder holds what the installer put there: the templates, an
  // old user list and one user; the scheduler's users live in the store.
  InstallationBuilder real(disk.temp_dir() + "/Program Files/Dayledger");
  InstallationBuilder store(disk.temp_dir() + "/VirtualStore/Program Files/Dayledger");
  InstallationBuilder plain(disk.temp_dir() + "/plain");
  const std::vector<UserSpec> users = {UserSpec{"kim", "10000", "dayledger"},
                                       UserSpec{"홍길동", "10100"}, UserSpec{"lee", "10200"}};
  const std::vector<std::string> names = {"kim", "홍길동", "lee"};
  real.WriteTemplates();
  real.WriteUser(UserSpec{"installer", "10000"});
  real.WriteUserList({"installer"});
  plain.WriteTemplates();
  for (const UserSpec& user : users) {
    store.WriteUser(user);
    plain.WriteUser(user);
  }
  store.WriteUserList(names);
  plain.WriteUserList(names);
  const NativeTree real_before = SnapshotTree(real.root());

  VirtualStorePlatform view(&disk, real.AppDir(), store.AppDir());
  UpgradePort no_log;
  Installation seen = testing::OpenedOn(view, real.AppDir());
  UpgradeTool lister(seen, no_log);
  lister.LoadUsers();
  EXPECT_EQ(lister.users(), names) << "the store's user list";
  // Listed, a name both hold is the store's entry too, not the real one.
  std::uint64_t listed_size = 0;
  const Result<std::vector<FolderEntry>> listed = view.ListFolder(real.AppDir() / "users");
  ASSERT_TRUE(listed.ok());
  for (const FolderEntry& entry : *listed) {
    if (entry.name == "userlist.kvd") listed_size = entry.size;
  }
  EXPECT_EQ(listed_size, std::filesystem::file_size(store.root() + "/users/userlist.kvd"));

  for (const UserSpec& user : users) {
    const NativeTree before = SnapshotTree(store.UserDir(user.name));
    ASSERT_EQ(UpgradeUser(view, disk, real.AppDir(), user.name, user.password), Outcome::kDone)
        << user.name;
    ASSERT_EQ(UpgradeUser(disk, disk, plain.AppDir(), user.name, user.password), Outcome::kDone);
    EXPECT_TRUE(SnapshotTree(store.UserDir(user.name)) == SnapshotTree(plain.UserDir(user.name)))
        << user.name << ": byte for byte as in an ordinary folder";
    EXPECT_TRUE(SnapshotTree(store.root() + "/upgrade_backup/" + user.name) == before)
        << user.name << ": the backup lies in the store";
  }
  EXPECT_TRUE(SnapshotTree(real.root()) == real_before) << "nothing written to the real folder";

  // Texts name the place a file has on disk.
  const std::string profile = (real.AppDir() / "users" / "kim" / "profile.qbd").text();
  EXPECT_EQ(view.ShownText("damaged: " + profile + "\tnext"),
            "damaged: " + store.AppDir().text() + "\\users\\kim\\profile.qbd\tnext");

  // The installer's user has its data only in the real folder, which the
  // user may not write: refused before anything changes.
  disk.unwritable_folder = real.UserDir("installer");
  store.WriteUserList({"installer"});
  const NativeTree store_now = SnapshotTree(store.root());
  EXPECT_EQ(UpgradeUser(view, disk, real.AppDir(), "installer", ""), Outcome::kRefused);
  EXPECT_EQ(disk.MessageLines().back(), "error:" + std::string(texts::kFolderNotWritable) +
                                            ToolPathFromNative(real.UserDir("installer")).text());
  EXPECT_TRUE(SnapshotTree(store.root()) == store_now);
  EXPECT_TRUE(SnapshotTree(real.root()) == real_before);

  // Only the real folder's files tie a folder to it: one holding files
  // alone may not be written, one holding folders alone is written in the store.
  for (const bool files : {true, false}) {
    const std::string native = real.root() + (files ? "/users/files" : "/users/folders");
    InstallationBuilder::WriteNative(native + (files ? "/profile.qbd" : "/sub/profile.qbd"), "x");
    disk.unwritable_folder = native;
    EXPECT_EQ(view.CanWriteIn(ToolPathFromNative(native)).ok(), !files) << native;
  }

  // A file deleted through the view goes from both sides: the real folder's
  // copy would show through the store again.
  InstallationBuilder::WriteNative(real.root() + "/users/both.qbd", "real");
  InstallationBuilder::WriteNative(store.root() + "/users/both.qbd", "store");
  const Path both = real.AppDir() / "users" / "both.qbd";
  ASSERT_TRUE(view.DeleteFile(both).ok());
  EXPECT_TRUE(testing::HoldsValue(view.Inspect(both), PathKind::kMissing));
}

}  // namespace
}  // namespace dayledger
