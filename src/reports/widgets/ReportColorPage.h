#pragma once

#include "reports/ReportStyle.h"
#include "ui/widgets/PropertySheet.h"

#include <array>

class QButtonGroup;
class QRadioButton;
class ReportPreviewFrame;

// The colour style of the job, with a sample page in the chosen style beside the choices.
class ReportColorPage : public PropertyPage {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Color Management";

    explicit ReportColorPage(ReportStyle style, QWidget* parent = nullptr);

    bool apply() override;
    // The style as of the last apply (as given before that).
    ReportStyle style() const { return m_style; }

    QRadioButton* radio(int index) const { return m_radios.at(static_cast<size_t>(index)); }
    ReportPreviewFrame* preview() const { return m_preview; }

private:
    ReportStyle m_style;
    QButtonGroup* m_group;
    std::array<QRadioButton*, 3> m_radios{};
    ReportPreviewFrame* m_preview;
};
