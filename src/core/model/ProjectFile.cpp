#include "ProjectFile.h"

#include "CountText.h"
#include "WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>
#include <utility>

namespace ts::ProjectFile {
namespace {

void putInt(QByteArray& out, std::int32_t v)
{
    char b[4];
    qToLittleEndian<std::int32_t>(v, b);
    out.append(b, 4);
}

void putByte(QByteArray& out, bool v) { out.append(v ? '\1' : '\0'); }

QString bytesText(qint64 n) { return countText(n, QStringLiteral("byte"), QStringLiteral("bytes")); }

// A counted string at full width: the length byte, the significant bytes,
// then zeros up to the capacity.
template <int N>
void putCounted(QByteArray& out, const CountedString<N>& s)
{
    out.append(char(quint8(s.length())));
    out.append(s.bytes());
    out.append(N - s.length(), '\0');
}

void putWindow(QByteArray& out, const WindowRecord& w)
{
    const auto start = out.size();
    putCounted(out, w.Name);                      // 0..30
    out.append('\0');                             // 31 padding
    putInt(out, std::int32_t(w.NonScrollColour));  // 32
    putInt(out, std::int32_t(w.TopicColour));      // 36
    putByte(out, w.OnTop);                        // 40
    putByte(out, w.AutoSizeHeight);               // 41
    out.append(2, '\0');                          // 42 padding
    putInt(out, w.Left);                          // 44
    putInt(out, w.Top);                           // 48
    putInt(out, w.Width);                         // 52
    putInt(out, w.Height);                        // 56
    putCounted(out, w.Caption);                   // 60..160
    putByte(out, w.DefaultPosition);              // 161
    for (bool b : w.Buttons)                      // 162..167
        putByte(out, b);
    Q_ASSERT(out.size() - start == WindowRecordSize);
    Q_UNUSED(start);
}

void putTopic(QByteArray& out, const TopicRecord& t)
{
    putCounted(out, t.TopicID);   // 0
    putByte(out, t.HasCallId);     // 51
    putInt(out, t.CallId);         // 52
    putInt(out, t.WindowIndex);   // 56
    putCounted(out, t.Keywords);  // 60
    putCounted(out, t.Title);     // 316
    putInt(out, t.HeaderLen());   // 367
    putInt(out, t.BodyLen());     // 371
    out.append(t.HeaderRtf);      // 375
    out.append(t.BodyRtf);
}

// Reads the file's bytes with bounds checks; every fault becomes an IoError
// that names the file and what is wrong.
class Reader {
public:
    Reader(const QByteArray& bytes, const QString& fileName) : data_(bytes), name_(fileName) {}

    // A file that starts like a project but is broken further on. The first
    // line says what the user meets, the second where the file is broken.
    [[noreturn]] void fail(const QString& what) const
    {
        throw IoError(QStringLiteral("'%1' is damaged and cannot be opened.\n%2.").arg(name_, sentence(what)));
    }

    // A file that does not start like a project at all: another kind of
    // file given the project's extension, or an empty one.
    [[noreturn]] void failStart(const QString& what) const
    {
        if (data_.isEmpty())
            throw IoError(QStringLiteral("'%1' is empty.").arg(name_));
        const QString reason = data_.size() < 8 ? QStringLiteral("it is too short to be one")
                                                : QStringLiteral("it does not start like one");
        throw IoError(
            QStringLiteral("'%1' is not a Topicsmith project (%2).\n%3.").arg(name_, reason, sentence(what)));
    }

    qsizetype pos() const { return pos_; }
    qsizetype size() const { return data_.size(); }
    qsizetype remaining() const { return data_.size() - pos_; }

    // Makes sure `n` more bytes exist, or fails describing `what`.
    void need(qsizetype n, const QString& what) const
    {
        if (n > remaining())
            fail(endsIn(what));
    }

    QString endsIn(const QString& what) const
    {
        return QStringLiteral("the file ends after %1, in %2").arg(bytesText(data_.size()), what);
    }

    std::int32_t int32()
    {
        const auto v = qFromLittleEndian<std::int32_t>(data_.constData() + pos_);
        pos_ += 4;
        return v;
    }
    quint8 byte() { return quint8(data_[pos_++]); }
    const char* at(qsizetype offset) const { return data_.constData() + pos_ + offset; }
    void skip(qsizetype n) { pos_ += n; }
    QByteArray block(qsizetype n)
    {
        QByteArray b = data_.mid(pos_, n);
        pos_ += n;
        return b;
    }

    template <int N>
    void counted(CountedString<N>& s, const QString& where)
    {
        const quint8 len = byte();
        if (len > N)
            fail(QStringLiteral("%1 has a length of %2 characters, more than its %3").arg(where).arg(len).arg(N));
        s.setBytes(QByteArray(data_.constData() + pos_, len));
        pos_ += N;
    }

private:
    static QString sentence(const QString& what) { return what.left(1).toUpper() + what.mid(1); }

    const QByteArray& data_;
    QString name_;
    qsizetype pos_ = 0;
};

WindowRecord readWindow(Reader& r, int k)
{
    const QString where = QStringLiteral("window %1").arg(k);
    r.need(WindowRecordSize, where);
    WindowRecord w;
    r.counted(w.Name, where + QStringLiteral("'s name"));
    r.skip(1);
    w.NonScrollColour = std::uint32_t(r.int32());
    w.TopicColour = std::uint32_t(r.int32());
    w.OnTop = r.byte() != 0;
    w.AutoSizeHeight = r.byte() != 0;
    r.skip(2);
    w.Left = r.int32();
    w.Top = r.int32();
    w.Width = r.int32();
    w.Height = r.int32();
    r.counted(w.Caption, where + QStringLiteral("'s caption"));
    w.DefaultPosition = r.byte() != 0;
    for (bool& b : w.Buttons)
        b = r.byte() != 0;
    return w;
}

TopicRecord readTopic(Reader& r, int i, int windowCount)
{
    const QString where = QStringLiteral("topic %1").arg(i + 1);
    r.need(TopicEntryFixedSize, where);
    TopicRecord t;
    r.counted(t.TopicID, where + QStringLiteral("'s Topic ID"));
    t.HasCallId = r.byte() != 0;
    t.CallId = r.int32();
    t.WindowIndex = r.int32();
    // A window index outside the table would make the topic unreachable; it
    // is shown on "main" instead so that the user's text stays at hand.
    if (t.WindowIndex < 0 || t.WindowIndex >= windowCount)
        t.WindowIndex = 0;
    r.counted(t.Keywords, where + QStringLiteral("'s keywords"));
    r.counted(t.Title, where + QStringLiteral("'s title"));
    const std::int32_t headerLen = r.int32();
    const std::int32_t bodyLen = r.int32();
    auto checkLength = [&](std::int32_t len, const QString& what, qsizetype available) {
        if (len < 0)
            r.fail(QStringLiteral("%1 claims %2 of %3").arg(where, bytesText(len), what));
        if (len > available)
            r.fail(QStringLiteral("%1 claims %2 of %3 but the file ends after %4")
                       .arg(where, bytesText(len), what, bytesText(r.size())));
    };
    checkLength(headerLen, QStringLiteral("header text"), r.remaining());
    checkLength(bodyLen, QStringLiteral("text"), r.remaining() - headerLen);
    t.HeaderRtf = r.block(headerLen);
    t.BodyRtf = r.block(bodyLen);
    return t;
}

} // namespace

bool isProjectFileName(const QString& path)
{
    return path.size() > 4 && path.endsWith(QLatin1String(".tsp"), Qt::CaseInsensitive)
           && !path.endsWith(QLatin1String("/.tsp"));
}

QString notAProjectFileMessage(const QString& path)
{
    return QStringLiteral("'%1' is not a Topicsmith project: project files are named like gadget.tsp.").arg(path);
}

std::optional<QString> notAProjectFileRefusal(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("There is no file '%1'.").arg(path);
    if (info.isDir())
        return QStringLiteral("'%1' is a folder, not a project.").arg(path);
    if (!info.isFile())
        return QStringLiteral("'%1' is not a regular file, so it cannot be a project.").arg(path);
    return std::nullopt;
}

QByteArray serialize(const Project& project, const ProgressStep& progress)
{
    qsizetype size = 8 + qsizetype(project.WindowCount()) * WindowRecordSize;
    for (int i = 0; i < project.TopicCount(); ++i) {
        const auto& t = project.topic(i);
        size += TopicEntryFixedSize + t.HeaderRtf.size() + t.BodyRtf.size();
    }
    QByteArray out;
    out.reserve(size);
    putInt(out, project.TopicCount());
    putInt(out, project.WindowCount());
    for (int k = 0; k < project.WindowCount(); ++k) {
        putWindow(out, project.window(k));
        if (progress)
            progress(50 / project.WindowCount());
    }
    for (int i = 0; i < project.TopicCount(); ++i) {
        if (progress)
            progress(50 / project.TopicCount());
        putTopic(out, project.topic(i));
    }
    return out;
}

void save(const Project& project, const QString& path, const ProgressStep& progress)
{
    writeWholeFile(path, serialize(project, progress));
}

namespace {

// The topic and window counts that open the file, checked.
std::pair<std::int32_t, std::int32_t> readCounts(Reader& r)
{
    if (r.remaining() < 8)
        r.failStart(r.endsIn(QStringLiteral("the topic and window counts")));
    const std::int32_t topicCount = r.int32();
    const std::int32_t windowCount = r.int32();
    if (topicCount < 0 || topicCount > Project::TopicSlots)
        r.failStart(
            QStringLiteral("it claims %1 topics; a project holds 0 to %2").arg(topicCount).arg(Project::TopicSlots));
    if (windowCount < 1 || windowCount > Project::MaxWindows)
        r.failStart(
            QStringLiteral("it claims %1 windows; a project holds 1 to %2").arg(windowCount).arg(Project::MaxWindows));
    return {topicCount, windowCount};
}

} // namespace

Project parse(const QByteArray& bytes, const QString& fileName, const QString& programFolder,
              const ProgressStep& progress)
{
    Reader r(bytes, fileName);
    const auto [topicCount, windowCount] = readCounts(r);

    Project project(programFolder);
    for (int k = 0; k < windowCount; ++k) {
        const WindowRecord w = readWindow(r, k);
        if (k == 0)
            project.window(0) = w;
        else
            project.addWindow(w);
        if (progress)
            progress(50 / windowCount);
    }
    for (int i = 0; i < topicCount; ++i) {
        if (progress)
            progress(50 / topicCount);
        project.addTopic(readTopic(r, i, windowCount));
    }
    return project;
}

Project load(const QString& path, const QString& programFolder, const ProgressStep& progress)
{
    if (const std::optional<QString> refusal = notAProjectFileRefusal(path))
        throw IoError(*refusal);
    // The counts are checked before the file is read whole, so that a large
    // file of another kind is refused at once.
    QFile head(path);
    if (QFileInfo(path).isFile() && head.open(QIODevice::ReadOnly)) {
        const QByteArray counts = head.read(8);
        if (counts.size() == 8) {
            Reader r(counts, QFileInfo(path).fileName());
            readCounts(r);
        }
    }
    Project project = parse(readWholeFile(path, MaxFileSize), QFileInfo(path).fileName(), programFolder, progress);
    project.ProjectPath = path;
    return project;
}

} // namespace ts::ProjectFile
