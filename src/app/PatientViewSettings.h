#pragma once

#include "logbook/ViewSettings.h"

class CQuillmarchApp;

// The view's display switches, kept in the current patient's settings key: each patient's
// window opens the way that patient left it.
class PatientViewSettings : public ViewSettings {
public:
    explicit PatientViewSettings(CQuillmarchApp& app) : m_app(app) {}

    QString value(const char* name) const override;
    void setValue(const char* name, const QString& value) override;

private:
    CQuillmarchApp& m_app;
};
