#pragma once
// The OK / Cancel row of the small insertion dialogs: OK (`okButton`) is the
// default button and accepts, Cancel (`cancelButton`) rejects.

#include <QBoxLayout>
#include <QDialog>
#include <QFontMetrics>
#include <QPushButton>

namespace ts {

inline void addOkCancelRow(QDialog* dialog, QBoxLayout* layout, QPushButton*& ok, QPushButton*& cancel)
{
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

// Makes an insertion dialog wide enough for its title beside the title
// bar's buttons and for its boxes to show a path or a link text of forty
// characters; its own layout gives the width its labels and check boxes need.
inline void fitInsertionDialog(QDialog* dialog)
{
    const QFontMetrics metrics = dialog->fontMetrics();
    const int titleWidth = metrics.horizontalAdvance(dialog->windowTitle()) + 160;
    const int boxWidth = metrics.averageCharWidth() * 40 + 40;
    dialog->setMinimumWidth(qMax(dialog->minimumSizeHint().width(), qMax(titleWidth, boxWidth)));
    dialog->adjustSize();
}

} // namespace ts
