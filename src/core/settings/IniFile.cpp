#include "IniFile.h"

#include "model/IoError.h"
#include "model/UserInteger.h"
#include "model/Windows1252.h"

#include <QFile>
#include "model/WholeFile.h"
#include <QStringDecoder>

namespace ts {

namespace {

// The file is written as UTF-8 so that any path survives; a file edited by
// hand in the Windows code page still reads.
QString decodeText(const QByteArray& bytes)
{
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    return cp1252::decode(body);
}

} // namespace

IniFile IniFile::parse(const QByteArray& bytes)
{
    IniFile ini;
    const QStringList lines = decodeText(bytes).split(QLatin1Char('\n'));
    Section* current = nullptr;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')))
            continue;
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            const QString name = trimmed.mid(1, trimmed.size() - 2).trimmed();
            current = nullptr;
            for (Section& s : ini.sections_)
                if (s.name.compare(name, Qt::CaseInsensitive) == 0)
                    current = &s;
            if (!current) {
                ini.sections_.push_back(Section{name, {}});
                current = &ini.sections_.back();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!current || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (key.isEmpty())
            continue;
        bool known = false;
        for (const auto& e : current->entries)
            if (e.first.compare(key, Qt::CaseInsensitive) == 0)
                known = true; // the first line of a key counts
        if (!known)
            current->entries.emplace_back(key, line.mid(eq + 1).trimmed());
    }
    return ini;
}

IniFile IniFile::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return IniFile();
    return parse(file.readAll());
}

const IniFile::Section* IniFile::find(const QString& section) const
{
    for (const Section& s : sections_)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    if (const Section* s = find(section))
        for (const auto& e : s->entries)
            if (e.first.compare(key, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

QString IniFile::value(const QString& section, const QString& key, const QString& fallback) const
{
    if (const Section* s = find(section))
        for (const auto& e : s->entries)
            if (e.first.compare(key, Qt::CaseInsensitive) == 0)
                return e.second;
    return fallback;
}

int IniFile::intValue(const QString& section, const QString& key, int fallback) const
{
    if (!contains(section, key))
        return fallback;
    QString text = value(section, key);
    if (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X")))
        text = QLatin1Char('$') + text.mid(2);
    return parseUserInteger(text).value_or(fallback);
}

bool IniFile::flag(const QString& section, const QString& key, bool fallback) const
{
    if (!contains(section, key))
        return fallback;
    QString text = value(section, key);
    if (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X")))
        text = QLatin1Char('$') + text.mid(2);
    const std::optional<int> v = parseUserInteger(text);
    return v ? *v != 0 : fallback;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    Section* target = nullptr;
    for (Section& s : sections_)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0)
            target = &s;
    if (!target) {
        sections_.push_back(Section{section, {}});
        target = &sections_.back();
    }
    for (auto& e : target->entries)
        if (e.first.compare(key, Qt::CaseInsensitive) == 0) {
            e.second = value;
            return;
        }
    target->entries.emplace_back(key, value);
}

void IniFile::setInt(const QString& section, const QString& key, int value)
{
    setValue(section, key, QString::number(value));
}

void IniFile::setFlag(const QString& section, const QString& key, bool value)
{
    setValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QByteArray IniFile::serialize() const
{
    QString text;
    bool first = true;
    for (const Section& s : sections_) {
        if (!first)
            text += QStringLiteral("\r\n");
        first = false;
        text += QLatin1Char('[') + s.name + QStringLiteral("]\r\n");
        for (const auto& e : s.entries)
            text += e.first + QLatin1Char('=') + e.second + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

void IniFile::save(const QString& path) const
{
    writeWholeFile(path, serialize());
}

} // namespace ts
