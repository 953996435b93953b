#pragma once
// Keeps a line edit to the characters the project file can store
// (Windows-1252): others never enter the field, typed or pasted, so what the
// user sees is what gets stored. A refused character is not dropped without
// a word: the validator beeps, shows a short notice next to the field naming
// the character, and emits refused() with that notice.

#include <QValidator>

namespace ts {

class StorableTextValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;

    // "'Ж' cannot be stored in a project file"
    static QString refusalNotice(const QString& character);

signals:
    void refused(const QString& notice) const;

private:
    void tellRefused(const QString& character) const;
};

} // namespace ts
