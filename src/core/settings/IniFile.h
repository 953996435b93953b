#pragma once
// A settings file in INI form: "[SECTION]" lines, then "key=value" lines.
// Sections and keys keep their order and their spelling (a section name may
// hold blanks, e.g. "RECENT FILES"); values are kept as they stand, so the
// file stays readable and writable by hand.

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace ts {

class IniFile {
public:
    // Parses INI text; unknown lines are ignored.
    static IniFile parse(const QByteArray& bytes);
    // Reads `path`; a missing or unreadable file gives an empty IniFile.
    static IniFile read(const QString& path);

    bool contains(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key, const QString& fallback = QString()) const;
    // Decimal, or hexadecimal after "0x"/"0X"; anything else yields `fallback`.
    int intValue(const QString& section, const QString& key, int fallback) const;
    // True when the integer value is not 0.
    bool flag(const QString& section, const QString& key, bool fallback) const;

    void setValue(const QString& section, const QString& key, const QString& value);
    void setInt(const QString& section, const QString& key, int value);
    void setFlag(const QString& section, const QString& key, bool value);

    // CR LF text, sections and keys in insertion order.
    QByteArray serialize() const;
    // Writes whole or not at all; throws IoError naming the file.
    void save(const QString& path) const;

private:
    struct Section {
        QString name;
        std::vector<std::pair<QString, QString>> entries;
    };
    const Section* find(const QString& section) const;
    std::vector<Section> sections_;
};

} // namespace ts
