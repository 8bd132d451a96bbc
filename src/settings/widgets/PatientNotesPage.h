#pragma once

#include "ui/widgets/PropertySheet.h"

class PatientSettingsContext;
class QPlainTextEdit;

// The patient's notes for the physician's summary. The text is kept with the edit's own wrap
// points made into line breaks, so that the report prints the lines as the patient saw them.
class PatientNotesPage : public PropertyPage {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Patient Notes";
    static constexpr int kMaxChars = 1024;
    // The patient's saved notes hold at most this much.
    static constexpr int kMaxSavedChars = 255;

    PatientNotesPage(PatientSettingsContext& context, const QString& notes,
                     QWidget* parent = nullptr);

    bool apply() override;

    // The notes as of the last apply (as given, or as saved for the patient, before that).
    QString notes() const { return m_notes; }
    QPlainTextEdit* edit() const { return m_edit; }

private:
    void keepWithinLimit();

    QString m_notes;
    QPlainTextEdit* m_edit = nullptr;
    bool m_cutting = false;
};
