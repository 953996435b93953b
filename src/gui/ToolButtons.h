#pragma once
// The toolbar rows' flat icon buttons and the gap between groups of them.

#include <QAction>
#include <QHBoxLayout>
#include <QIcon>
#include <QString>
#include <QToolButton>

namespace ts {

// A flat button named `name` at the end of `row`; the keyboard focus stays
// in the editors.
inline QToolButton* flatToolButton(QWidget* parent, QLayout* row, const char* name)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIconSize(QSize(18, 18));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    row->addWidget(b);
    return b;
}

// A button that shows `action`: its icon, its state and its tooltip.
inline QToolButton* toolButton(QWidget* parent, QLayout* row, const char* name, QAction* action)
{
    QToolButton* b = flatToolButton(parent, row, name);
    b->setDefaultAction(action);
    return b;
}

// A button of its own with the tooltip `hint` and the icon ":/icons/<icon>".
inline QToolButton* toolButton(QWidget* parent, QLayout* row, const char* name, const QString& hint,
                               const QString& icon)
{
    QToolButton* b = flatToolButton(parent, row, name);
    b->setToolTip(hint);
    b->setIcon(QIcon(QStringLiteral(":/icons/") + icon));
    return b;
}

inline void separator(QHBoxLayout* row)
{
    row->addSpacing(8);
}

} // namespace ts
