#pragma once

#include "base/Prompt.h"

class QWidget;

// Shows each message as a modal message box over the given window.
class WidgetPrompt : public Prompt
{
public:
    explicit WidgetPrompt(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    Answer ask(const Message& message) override;

private:
    QWidget* m_parent;
};
