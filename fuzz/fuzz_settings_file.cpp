// Feeds arbitrary bytes to the settings file reader. The INI text must be
// stable after one write (read, write, read, write gives the same bytes and
// the same values), and the program's settings read from it must survive
// being written into a fresh file and read again.

#include "FuzzSupport.h"

#include "settings/IniFile.h"
#include "settings/Settings.h"

namespace {

QByteArray describe(const ts::Settings& s)
{
    QByteArray out = QByteArray::number(s.Left) + ',' + QByteArray::number(s.Top) + ',' +
                     QByteArray::number(s.Width) + ',' + QByteArray::number(s.Height) + ',' +
                     QByteArray::number(int(s.topicListShown)) + ',' + fuzzsupport::printable(s.HelpCompiler);
    for (int k = 0; k < ts::RecentFiles::Count; ++k)
        out += ',' + fuzzsupport::printable(s.Recent.caption(k));
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ts::IniFile ini = ts::IniFile::parse(fuzzsupport::bytesOf(data, size));
    const QByteArray once = ini.serialize();
    const ts::IniFile reread = ts::IniFile::parse(once);
    const QByteArray twice = reread.serialize();
    if (twice != once)
        fuzzsupport::fail("the settings file is not stable after one write\n--- once:\n%s\n--- twice:\n%s",
                          once.constData(), twice.constData());

    const ts::Settings settings = ts::Settings::fromIni(ini);
    if (describe(ts::Settings::fromIni(reread)) != describe(settings))
        fuzzsupport::fail("the settings read differently after a write: %s", describe(settings).constData());

    ts::IniFile fresh;
    settings.toIni(fresh);
    const ts::Settings back = ts::Settings::fromIni(ts::IniFile::parse(fresh.serialize()));
    if (describe(back) != describe(settings))
        fuzzsupport::fail("settings lost on write and read\n--- read:    %s\n--- written: %s",
                          describe(settings).constData(), describe(back).constData());

    // Writing the settings into the file they came from keeps its other keys.
    ts::IniFile merged = ini;
    settings.toIni(merged);
    if (describe(ts::Settings::fromIni(ts::IniFile::parse(merged.serialize()))) != describe(settings))
        fuzzsupport::fail("settings lost on write into their own file: %s", describe(settings).constData());
    return 0;
}
