#pragma once

#include "app/AppDialogs.h"

// Start-up windows that create the first patient under a fixed name and choose no other.
class NamedPatientDialogs : public AppDialogs {
public:
    explicit NamedPatientDialogs(QString name) : m_name(std::move(name)) {}

    std::optional<QString> askNewPatientName() override { return m_name; }
    std::optional<QString> chooseUser(const std::vector<std::pair<QString, QString>>&) override {
        return std::nullopt;
    }
    void showFinalizing(bool) override {}

private:
    QString m_name;
};
