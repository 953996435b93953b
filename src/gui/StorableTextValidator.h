#pragma once
// Keeps a line edit to the characters the project file can store
// (Windows-1252): others never enter the field, typed or pasted, so what the
// user sees is what gets stored.

#include <QValidator>

namespace ts {

class StorableTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace ts
