// The calendar component: its properties, today, and its conversions.
#include "app/solnlun.h"

#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QMetaType>
#include <QPointer>
#include <QVariant>
#include <memory>

#include "support/test_platform.h"

namespace dayledger {
namespace {

const char* const kProperties[] = {"solYear", "lunYear",  "lunMonth", "lunDay",
                                   "isLeap",  "solMonth", "solDay"};

TEST(TSolLunTest, PropertiesInDeclarationOrder) {
  testing::TestPlatform platform;
  TSolLun component(platform, nullptr);
  const QMetaObject* meta = component.metaObject();
  ASSERT_EQ(meta->propertyCount() - meta->propertyOffset(), 7);
  const char* order[] = {"solYear",  "solMonth", "solDay", "lunYear",
                         "lunMonth", "lunDay",   "isLeap"};
  for (int i = 0; i < 7; ++i)
    EXPECT_STREQ(meta->property(meta->propertyOffset() + i).name(), order[i]);
}

TEST(TSolLunTest, NewComponentHoldsTodayInBothCalendars) {
  testing::TestPlatform platform;
  platform.now = {2009, 6, 23, 10, 0, 0};
  TSolLun component(platform, nullptr);
  EXPECT_EQ(component.solYear(), 2009);
  EXPECT_EQ(component.solMonth(), 6);
  EXPECT_EQ(component.solDay(), 23);
  EXPECT_EQ(component.lunYear(), 2009);
  EXPECT_EQ(component.lunMonth(), 5);
  EXPECT_EQ(component.lunDay(), 1);
  EXPECT_TRUE(component.isLeap());
}

TEST(TSolLunTest, SettingAPropertyChangesNoOther) {
  testing::TestPlatform platform;
  TSolLun component(platform, nullptr);
  RestoreStored(component, {2009, 11, 4, 2009, 9, 18, false});
  for (const char* name : kProperties) {
    QVariant before[7];
    for (int i = 0; i < 7; ++i) before[i] = component.property(kProperties[i]);
    const QVariant changed = QString(name) == "isLeap" ? QVariant(true) : QVariant(quint16(1));
    ASSERT_TRUE(component.setProperty(name, changed));
    for (int i = 0; i < 7; ++i) {
      if (QString(kProperties[i]) == name) {
        EXPECT_EQ(component.property(name), changed);
      } else {
        EXPECT_EQ(component.property(kProperties[i]), before[i]) << "setting " << name;
      }
    }
    RestoreStored(component, {2009, 11, 4, 2009, 9, 18, false});
  }
}

TEST(TSolLunTest, ConversionsWriteOnlyTheOtherSide) {
  testing::TestPlatform platform;
  TSolLun component(platform, nullptr);
  RestoreStored(component, {2009, 7, 22, 1, 1, 1, true});
  component.Solar2Lunar();
  EXPECT_EQ(component.lunMonth(), 6);
  EXPECT_EQ(component.lunDay(), 1);
  EXPECT_FALSE(component.isLeap());
  EXPECT_EQ(component.solDay(), 22);

  component.SetlunYear(2043);
  component.SetlunMonth(12);
  component.SetlunDay(31);  // past the end of the table
  component.Lunar2Solar();
  EXPECT_EQ(component.solYear(), 2009) << "out of range leaves the solar side";
  component.SetlunDay(30);
  component.Lunar2Solar();
  EXPECT_EQ(component.solYear(), 2044);
  EXPECT_EQ(component.solMonth(), 1);
  EXPECT_EQ(component.solDay(), 29);
}

TEST(TSolLunTest, OwnerDestroysItAndRegisterKnowsTheType) {
  testing::TestPlatform platform;
  auto owner = std::make_unique<QObject>();
  QPointer<TSolLun> component = new TSolLun(platform, owner.get());
  owner.reset();
  EXPECT_TRUE(component.isNull());
  Register();
  EXPECT_TRUE(QMetaType::fromName("TSolLun*").isValid());
}

}  // namespace
}  // namespace dayledger
