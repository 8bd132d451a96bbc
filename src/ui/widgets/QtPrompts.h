#pragma once

#include "ui/Prompts.h"

#include <QPointer>
#include <QWidget>

// Prompts shown in a QMessageBox, modal over the parent widget when one is set.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget* parent) { m_parent = parent; }
    QWidget* parent() const { return m_parent; }

    PromptAnswer show(const QString& caption, const QString& text, PromptButtons buttons,
                      PromptIcon icon) override;

private:
    QPointer<QWidget> m_parent;
};
