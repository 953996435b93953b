#include "HelpCodePage.h"

#include "model/Windows1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ts::helpfile {
namespace {

QByteArray converterName(int codePage)
{
    switch (codePage) {
    case 437:
        return "IBM437";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1361:
        return "x-Johab";
    case 10000:
        return "macintosh";
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

} // namespace

int codePageForCharset(int charset)
{
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0;
    }
}

int codePageForLcid(int lcid)
{
    switch (lcid & 0x3FF) {
    case 0x09: // English
    case 0x07: // German
    case 0x0C: // French
    case 0x0A: // Spanish
    case 0x10: // Italian
    case 0x13: // Dutch
    case 0x16: // Portuguese
    case 0x1D: // Swedish
    case 0x14: // Norwegian
    case 0x06: // Danish
    case 0x0B: // Finnish
        return 1252;
    case 0x19:
    case 0x22:
    case 0x23:
    case 0x02:
        return 1251;
    case 0x05:
    case 0x0E:
    case 0x15:
    case 0x1A:
    case 0x1B:
    case 0x24:
        return 1250;
    case 0x08:
        return 1253;
    case 0x1F:
        return 1254;
    case 0x0D:
        return 1255;
    case 0x01:
        return 1256;
    case 0x25:
    case 0x26:
    case 0x27:
        return 1257;
    case 0x1E:
        return 874;
    case 0x11:
        return 932;
    case 0x12:
        return 949;
    case 0x04: {
        const int country = lcid & 0xFFFF;
        return country == 0x0804 || country == 0x1004 ? 936 : 950;
    }
    default:
        return 0;
    }
}

bool canDecode(int codePage)
{
    if (codePage == 1252)
        return true;
    return QStringDecoder(converterName(codePage).constData()).isValid();
}

QString decodeText(const QByteArray& bytes, int codePage)
{
    if (codePage != 1252) {
        QStringDecoder decoder(converterName(codePage).constData());
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return cp1252::decode(bytes);
}

QByteArray encodeText(const QString& text, int codePage)
{
    if (codePage != 1252) {
        QStringEncoder encoder(converterName(codePage).constData());
        if (encoder.isValid())
            return encoder.encode(text);
    }
    return cp1252::encode(text);
}

} // namespace ts::helpfile
