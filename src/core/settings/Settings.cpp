#include "Settings.h"

namespace ts {

namespace {

const QString config = QStringLiteral("CONFIG");
const QString recent = QStringLiteral("RECENT FILES");

} // namespace

Settings Settings::fromIni(const IniFile& ini)
{
    Settings s;
    s.Left = ini.intValue(config, QStringLiteral("Left"), s.Left);
    s.Top = ini.intValue(config, QStringLiteral("Top"), s.Top);
    s.Width = ini.intValue(config, QStringLiteral("Width"), s.Width);
    s.Height = ini.intValue(config, QStringLiteral("Height"), s.Height);
    s.topicListShown = ini.flag(config, QStringLiteral("TLB"), s.topicListShown);
    s.HelpCompiler = ini.value(config, QStringLiteral("HelpCompiler"), s.HelpCompiler);
    s.Maximized = ini.flag(config, QStringLiteral("Maximized"), s.Maximized);
    for (int k = 0; k < RecentFiles::Count; ++k)
        s.Recent.setCaption(k, ini.value(recent, QString::number(k), RecentFiles::emptyCaption(k)));
    return s;
}

void Settings::toIni(IniFile& ini) const
{
    ini.setInt(config, QStringLiteral("Left"), Left);
    ini.setInt(config, QStringLiteral("Top"), Top);
    ini.setInt(config, QStringLiteral("Width"), Width);
    ini.setInt(config, QStringLiteral("Height"), Height);
    ini.setFlag(config, QStringLiteral("TLB"), topicListShown);
    ini.setValue(config, QStringLiteral("HelpCompiler"), HelpCompiler);
    ini.setFlag(config, QStringLiteral("Maximized"), Maximized);
    for (int k = 0; k < RecentFiles::Count; ++k)
        ini.setValue(recent, QString::number(k), Recent.caption(k));
}

} // namespace ts
