#include "StorableTextValidator.h"

#include "model/Windows1252.h"

#include <QApplication>
#include <QLineEdit>
#include <QToolTip>

namespace ts {

namespace {

// The first character of `text` that has no Windows-1252 form, whole (both
// halves of a surrogate pair), or an empty string.
QString firstUnstorable(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (cp1252::canEncode(text[i]))
            continue;
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        return text.mid(i, pair ? 2 : 1);
    }
    return {};
}

} // namespace

QValidator::State StorableTextValidator::validate(QString& input, int& pos) const
{
    if (!cp1252::canEncode(input)) {
        const QString character = firstUnstorable(input);
        const QString kept = cp1252::filter(input.left(pos));
        input = cp1252::filter(input);
        pos = int(kept.size());
        tellRefused(character);
    }
    return Acceptable;
}

QString StorableTextValidator::refusalNotice(const QString& character)
{
    return QLatin1Char('\'') + character + QStringLiteral("' cannot be stored in a project file");
}

void StorableTextValidator::tellRefused(const QString& character) const
{
    const QString notice = refusalNotice(character);
    QApplication::beep();
    // The field being edited is the focused one; a validator made for one
    // field may also be asked while another control has the focus.
    QWidget* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!field || static_cast<QLineEdit*>(field)->validator() != this)
        field = qobject_cast<QWidget*>(parent());
    if (field && field->isVisible())
        QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), notice, field);
    emit refused(notice);
}

} // namespace ts
