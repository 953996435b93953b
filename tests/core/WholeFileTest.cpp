#include "model/IoError.h"
#include "model/WholeFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>

using namespace ts;

namespace {

QString failureOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const IoError& e) {
        return e.message();
    }
    return QString();
}

QByteArray contentsOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A device that takes all but the last `refused` bytes it is given.
class ShortDevice : public QIODevice {
public:
    explicit ShortDevice(qint64 capacity) : capacity_(capacity) { open(QIODevice::WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const qint64 n = qMin(size, capacity_ - qint64(written.size()));
        if (n <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        written.append(data, qsizetype(n));
        return n;
    }

private:
    qint64 capacity_;
};

// A small tmpfs the test fills up; unmounted at the end.
class FullDisk {
public:
    FullDisk()
    {
        if (!dir_.isValid())
            return;
        const QByteArray at = QFile::encodeName(dir_.path());
        mounted_ = ::mount("tmpfs", at.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~FullDisk()
    {
        if (mounted_)
            ::umount(QFile::encodeName(dir_.path()).constData());
    }
    bool mounted() const { return mounted_; }
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    // Takes every free byte.
    void fill() const
    {
        QFile filler(path("filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray chunk(512, 'x');
        while (filler.write(chunk) == chunk.size()) {
        }
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

} // namespace

TEST(WholeFile, AFailingLastWriteIsReportedWithTheDevicesReason)
{
    ShortDevice device(10);
    const auto failure = writeAllBytes(device, QByteArray("0123456789AB"));
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(*failure, QStringLiteral("No space left on device"));
    EXPECT_EQ(device.written, QByteArray("0123456789"));

    ShortDevice roomy(100);
    EXPECT_FALSE(writeAllBytes(roomy, QByteArray("0123456789AB")).has_value());
}

TEST(WholeFile, AFullDiskKeepsThePreviousFileWholeAndSaysWhy)
{
    FullDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "a tmpfs can only be mounted as root";
    const QString target = disk.path("Demo.tsp");
    const QByteArray before(3000, 'a');
    writeWholeFile(target, before);
    disk.fill();

    // Small enough to sit in the file's buffer until the commit.
    const QString failure = failureOf([&] { writeWholeFile(target, QByteArray(5000, 'b')); });
    EXPECT_EQ(failure, QStringLiteral("Cannot write '%1': No space left on device").arg(target));
    EXPECT_EQ(contentsOf(target), before);

    const QString copied = disk.path("Demo.tsc");
    QTemporaryDir elsewhere;
    const QString source = elsewhere.filePath(QStringLiteral("source.tsc"));
    writeWholeFile(source, QByteArray(2000, 'c'));
    EXPECT_FALSE(failureOf([&] { copyWholeFile(source, copied); }).isEmpty());
    EXPECT_FALSE(QFile::exists(copied));
    EXPECT_EQ(QDir(disk.path("")).entryList(QDir::Files), QStringList({QStringLiteral("Demo.tsp"),
                                                                        QStringLiteral("filler")}));
}

TEST(WholeFile, ReadsOnlyRegularFilesUpToTheLimit)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.tsp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(failureOf([&] { readWholeFile(fifo); }),
              QStringLiteral("Cannot open '%1': it is not a regular file").arg(fifo));
    EXPECT_EQ(failureOf([] { readWholeFile(QStringLiteral("/dev/zero")); }),
              QStringLiteral("Cannot open '/dev/zero': it is not a regular file"));
    EXPECT_EQ(failureOf([&] { readWholeFile(dir.path()); }),
              QStringLiteral("Cannot open '%1': it is not a regular file").arg(dir.path()));

    const QString big = dir.filePath(QStringLiteral("big.tsc"));
    writeWholeFile(big, QByteArray(101, 'x'));
    EXPECT_EQ(failureOf([&] { readWholeFile(big, 100); }),
              QStringLiteral("Cannot read '%1': it is 101 bytes long, larger than such a file can be (100 bytes)")
                  .arg(big));
    EXPECT_EQ(readWholeFile(big, 101).size(), 101);
    EXPECT_TRUE(failureOf([&] { readWholeFile(dir.filePath(QStringLiteral("none"))); })
                    .startsWith(QStringLiteral("Cannot open '")));
}
