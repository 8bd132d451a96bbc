#pragma once

#include <QString>
#include <QStringList>

class Clock;
class Database;
class Preference;

// The lists a brand-new patient database starts with, and the other fixed lists of the
// program. They are kept as texts so that they can be changed without touching the code.
namespace DefaultData {

// "time,description" pairs.
inline constexpr const char* kSlots = "0000,EarlyAm;0700,Breakfast;0915,Mid Morning;1130,Lunch;"
                                      "1330,Afternoon;1630,Dinner;1930,Bedtime;2100,Late Eve.";
// "food,carbohydrates" pairs.
inline constexpr const char* kFoods =
    "Apple ( med ) 1/2 peeled,7;Bananna (med) 1/2,13;McD Fries (small) ,25;McD Hashbrown,15;McD "
    "Hamburger (Jr),30;McD Chicken Nugget (1),3;Pancake ( 4 inch ),10;Apple Juice 4oz,15;Milk ( "
    "skim ) 4oz,6;Kraft McChez Quick,38;Wheat Bread 1 slice,14;Gogurt,13;Yoplay Yogurt,33";
// "code,name,insulin,active,in totals" groups; a flag is set when it begins with "y".
inline constexpr const char* kMedications =
    "H,Humalog,y,y,y;G,Lantus,y,y,n;N,NPH,y,y,y;V,Novalog,y,n,t;R,Regular,y,y,n;P,NPH "
    "Pork,y,n,n;L,Lenti,y,n,n;U,UltraLenti,y,n,n;A,70/30,y,n,n;B,50/50,y,n,n;";
// The ketone results, in the order of their codes.
inline constexpr const char* kKetoneNames = "N/A;Negative;Small;Medium;Large";

inline constexpr const char* kMeterDesc = "Primary Meter";
inline constexpr const char* kUnknown = "Unknown";
inline constexpr const char* kNotOnFile = "[ Not on file ]";
inline constexpr int kMedicationExpireDays = 60;

// The tokens of a list: split at every "," and ";", empty tokens skipped.
QStringList tokens(const QString& list);

// Drops and creates every table, writes the preference record (delivery by injection), the
// default quick-bolus settings, slots, meter, protocol, foods and medications, then creates
// the secondary indexes. Stops at the first failure; every failure shows its message or
// leaves it to the caller's check of the file.
bool initNewDatabase(Database& db, Preference& preference, const Clock& clock);

} // namespace DefaultData
