// TSolLun: the window's non-visual component holding one date in the
// Gregorian and the Korean lunar calendar, converting it in either direction
// when asked. The conversion itself is plain C++ (calendar/lunar_calendar.h);
// this is its Qt component.
#pragma once

#include <QObject>
#include <cstdint>

namespace dayledger {

class Platform;

class TSolLun : public QObject {
  Q_OBJECT
  Q_PROPERTY(quint16 solYear READ solYear WRITE SetsolYear)
  Q_PROPERTY(quint16 solMonth READ solMonth WRITE SetsolMonth)
  Q_PROPERTY(quint16 solDay READ solDay WRITE SetsolDay)
  Q_PROPERTY(quint16 lunYear READ lunYear WRITE SetlunYear)
  Q_PROPERTY(quint16 lunMonth READ lunMonth WRITE SetlunMonth)
  Q_PROPERTY(quint16 lunDay READ lunDay WRITE SetlunDay)
  Q_PROPERTY(bool isLeap READ isLeap WRITE SetLeap)

 public:
  // Holds today's local date (from the platform's clock) in both calendars.
  TSolLun(Platform& platform, QObject* owner);

  // Reads solYear/solMonth/solDay, writes the lunar fields through their
  // setters. A date outside 1881-01-30 to 2044-01-29 leaves them unchanged.
  void Solar2Lunar();
  // Reads the lunar fields, writes the solar ones through their setters.
  // Inputs outside the table leave them unchanged.
  void Lunar2Solar();

  quint16 solYear() const { return solYear_; }
  quint16 solMonth() const { return solMonth_; }
  quint16 solDay() const { return solDay_; }
  quint16 lunYear() const { return lunYear_; }
  quint16 lunMonth() const { return lunMonth_; }
  quint16 lunDay() const { return lunDay_; }
  bool isLeap() const { return isLeap_; }

  // Each setter only stores its value.
  void SetsolYear(const quint16 value) { solYear_ = value; }
  void SetsolMonth(const quint16 value) { solMonth_ = value; }
  void SetsolDay(const quint16 value) { solDay_ = value; }
  void SetlunYear(const quint16 value) { lunYear_ = value; }
  void SetlunMonth(const quint16 value) { lunMonth_ = value; }
  void SetlunDay(const quint16 value) { lunDay_ = value; }
  void SetLeap(const bool value) { isLeap_ = value; }

 private:
  quint16 solYear_ = 0;
  quint16 solMonth_ = 0;
  quint16 solDay_ = 0;
  quint16 lunYear_ = 0;
  quint16 lunMonth_ = 0;
  quint16 lunDay_ = 0;
  bool isLeap_ = false;
};

// Makes TSolLun known to Qt's meta-type system, the toolkit's registry of
// component classes; Qt has no run-time component palette beyond it.
void Register();

// Assigns stored property values in declaration order, as a loaded window
// description does; nothing converts afterwards.
struct StoredSolLun {
  quint16 solYear, solMonth, solDay, lunYear, lunMonth, lunDay;
  bool isLeap;
};
void RestoreStored(TSolLun& component, const StoredSolLun& stored);

}  // namespace dayledger
