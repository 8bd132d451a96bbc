#pragma once

#include <QString>

// The current patient's display switches of the logbook view, kept as the texts "true" and
// "false"; a value never written reads as an empty text.
class ViewSettings {
public:
    virtual ~ViewSettings() = default;
    virtual QString value(const char* name) const = 0;
    virtual void setValue(const char* name, const QString& value) = 0;
};

namespace ViewSetting {
// Whether the graph strip is shown; shown while never written.
inline constexpr const char* kShowLogGraph = "showLogGraph";
// Whether the graph shows entry balloons; off while never written.
inline constexpr const char* kShowBalloon = "showLogGraphBallon";
} // namespace ViewSetting
