#pragma once
// The toolbar rows' flat icon buttons and the gap between groups of them.

#include <QHBoxLayout>
#include <QIcon>
#include <QString>
#include <QToolButton>

namespace ts {

inline QToolButton* toolButton(QWidget* parent, QLayout* row, const char* name, const QString& hint,
                               const QString& icon)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setIcon(QIcon(QStringLiteral(":/icons/") + icon));
    b->setIconSize(QSize(18, 18));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    row->addWidget(b);
    return b;
}

inline void separator(QHBoxLayout* row)
{
    row->addSpacing(8);
}

} // namespace ts
