// The calendar component's properties and their conversions.
#include "app/solnlun.h"

#include <QMetaProperty>
#include <QVariant>

#include "calendar/lunar_calendar.h"
#include "platform/platform.h"

namespace dayledger {

TSolLun::TSolLun(Platform& platform, QObject* owner) : QObject(owner) {
  const LocalTime today = platform.Now();
  SetsolYear(static_cast<quint16>(today.year));
  SetsolMonth(static_cast<quint16>(today.month));
  SetsolDay(static_cast<quint16>(today.day));
  Solar2Lunar();
}

void TSolLun::Solar2Lunar() {
  const Result<lunar::LunarDate> lunar = lunar::SolarToLunar({solYear_, solMonth_, solDay_});
  if (!lunar.ok()) return;
  SetlunYear(lunar->year);
  SetlunMonth(lunar->month);
  SetlunDay(lunar->day);
  SetLeap(lunar->leap);
}

void TSolLun::Lunar2Solar() {
  const Result<lunar::SolarDate> solar =
      lunar::LunarToSolar({lunYear_, lunMonth_, lunDay_, isLeap_});
  if (!solar.ok()) return;
  SetsolYear(solar->year);
  SetsolMonth(solar->month);
  SetsolDay(solar->day);
}

void Register() { qRegisterMetaType<TSolLun*>("TSolLun*"); }

void RestoreStored(TSolLun& component, const StoredSolLun& stored) {
  const QVariant values[] = {stored.solYear,  stored.solMonth, stored.solDay, stored.lunYear,
                             stored.lunMonth, stored.lunDay,   stored.isLeap};
  const QMetaObject* meta = component.metaObject();
  for (int i = 0; i < 7; ++i) {
    meta->property(meta->propertyOffset() + i).write(&component, values[i]);
  }
}

}  // namespace dayledger
