#include "StorableTextValidator.h"

#include "model/Windows1252.h"

namespace ts {

QValidator::State StorableTextValidator::validate(QString& input, int& pos) const
{
    if (!cp1252::canEncode(input)) {
        const QString kept = cp1252::filter(input.left(pos));
        input = cp1252::filter(input);
        pos = int(kept.size());
    }
    return Acceptable;
}

} // namespace ts
