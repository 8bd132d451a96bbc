#include "reports/widgets/ReportColorPage.h"

#include "reports/ReportSelection.h"
#include "reports/widgets/ReportPreviewFrame.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

struct StyleChoice {
    const char* radio;
    const char* description;
};

// In radio order.
constexpr StyleChoice kChoices[] = {
    {"Color ( Recommended )",
     "All reports printed in full color producing maximum trend analysis capabilites."},
    {"Grey Scale ( Worksheets )", "All reports printed in grey scale. This option is primarily "
                                  "for Ink conservation and when printing worksheets."},
    {"Black and White ( Faxing )", "All reports printed in black and white with no shading. "
                                   "This option is recommend for faxing."},
};

} // namespace

ReportColorPage::ReportColorPage(ReportStyle style, QWidget* parent)
    : PropertyPage(parent), m_style(style), m_group(new QButtonGroup(this)),
      m_preview(new ReportPreviewFrame(style, this)) {
    auto* choices = new QVBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(kChoices[i].radio), this);
        m_group->addButton(radio, i);
        m_radios[static_cast<size_t>(i)] = radio;
        auto* description = new QLabel(QString::fromLatin1(kChoices[i].description), this);
        description->setWordWrap(true);
        // Under the radio's text, not under its round button.
        description->setContentsMargins(
            radio->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) + 8, 0, 0, 0);
        choices->addWidget(radio);
        choices->addWidget(description);
        choices->addSpacing(12);
    }
    choices->addStretch();
    m_radios[static_cast<size_t>(ReportSelection::radioIndex(style))]->setChecked(true);
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (!on)
            return;
        m_preview->setStyle(ReportSelection::styleAtRadio(id));
        emit changed();
    });

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(choices, 1);
    layout->addWidget(m_preview, 0, Qt::AlignTop);
}

bool ReportColorPage::apply() {
    m_style = ReportSelection::styleAtRadio(m_group->checkedId());
    return true;
}
