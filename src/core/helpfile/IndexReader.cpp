#include "IndexReader.h"

#include "ByteCursor.h"
#include "TreeReader.h"

namespace ts::helpfile::reading {

namespace {

QString nameOf(const QByteArray& name) { return QString::fromLatin1(name); }

// A tree whose entries are a number and a string (|TopicId, |Petra): the key
// is the topic number + 1.
std::map<int, QByteArray> readNumberedNames(const ContainerReader& container, const QByteArray& name,
                                            ReadProblems& problems)
{
    std::map<int, QByteArray> out;
    if (!container.contains(name))
        return out;
    readTree(container.data(name), nameOf(name), problems, [&](ByteCursor& c) {
        const std::uint32_t key = c.u32();
        const QByteArray text = c.stringz();
        if (c.ok() && key >= 1)
            out.emplace(int(qMin<std::uint32_t>(key - 1, 0x7FFFFFFF)), text);
        return c.ok();
    });
    return out;
}

template <typename A, typename B>
std::vector<std::pair<A, B>> readPairs(const ContainerReader& container, const QByteArray& name, ReadProblems& problems)
{
    std::vector<std::pair<A, B>> out;
    if (!container.contains(name))
        return out;
    readTree(container.data(name), nameOf(name), problems, [&](ByteCursor& c) {
        const A a = A(c.u32());
        const B b = B(c.u32());
        if (c.ok())
            out.emplace_back(a, b);
        return c.ok();
    });
    return out;
}

void readKeywords(const ContainerReader& container, char letter, IndexValues& out, ReadProblems& problems)
{
    const QByteArray tree = QByteArray("|") + letter + "WBTREE";
    const QByteArray dataName = QByteArray("|") + letter + "WDATA";
    const QByteArray data = container.data(dataName);
    if (data.isEmpty())
        problems.add(nameOf(dataName), QStringLiteral("missing; the keywords in %1 lead nowhere").arg(nameOf(tree)));
    auto& keywords = out.keywords[letter];
    readTree(container.data(tree), nameOf(tree), problems, [&](ByteCursor& c) {
        IndexValues::Keyword keyword;
        keyword.text = c.stringz();
        const int count = c.u16();
        const std::uint32_t offset = c.u32();
        if (!c.ok())
            return false;
        ByteCursor list(data, qsizetype(offset));
        if (!list.ok() || list.left() < qsizetype(count) * 4) {
            problems.add(nameOf(dataName), offset,
                         QStringLiteral("the topics of keyword \"%1\" are missing").arg(QString::fromLatin1(keyword.text)));
        } else {
            keyword.offsets.reserve(size_t(count));
            for (int i = 0; i < count; ++i)
                keyword.offsets.push_back(list.u32());
        }
        keywords.push_back(std::move(keyword));
        return true;
    });
}

void readMapNumbers(const QByteArray& data, IndexValues& out, ReadProblems& problems)
{
    ByteCursor c(data);
    const int count = c.u16();
    for (int i = 0; i < count && c.left() >= 8; ++i) {
        const std::int32_t number = c.s32();
        out.mapNumbers.emplace_back(number, c.u32());
    }
    if (int(out.mapNumbers.size()) < count)
        problems.add(QStringLiteral("|CTXOMAP"), c.pos(), QStringLiteral("cut short: %1 of %2 [MAP] numbers are there")
                                                           .arg(out.mapNumbers.size()).arg(count));
}

} // namespace

IndexValues readIndexes(const ContainerReader& container, ReadProblems& problems)
{
    IndexValues out;
    out.context = readPairs<std::int32_t, std::uint32_t>(container, "|CONTEXT", problems);
    out.windows = readPairs<std::uint32_t, std::int32_t>(container, "|VIOLA", problems);
    out.topicIds = readNumberedNames(container, "|TopicId", problems);
    out.sourceFiles = readNumberedNames(container, "|Petra", problems);
    if (container.contains("|CTXOMAP"))
        readMapNumbers(container.data("|CTXOMAP"), out, problems);
    if (container.contains("|TOMAP")) {
        const QByteArray positions = container.data("|TOMAP");
        ByteCursor c(positions);
        while (c.left() >= 4)
            out.topicPositions.push_back(c.s32());
    }
    for (const QByteArray& name : container.names()) {
        if (name.size() == 8 && name.startsWith('|') && name.endsWith("WBTREE"))
            readKeywords(container, name[1], out, problems);
        if (name.startsWith("|CF") && name.size() > 3) {
            bool isNumber = false;
            const int window = name.mid(3).toInt(&isNumber);
            if (!isNumber)
                continue;
            const QByteArray macros = container.data(name);
            ByteCursor c(macros);
            while (!c.atEnd()) {
                const QByteArray macro = c.stringz();
                if (!macro.isEmpty())
                    out.windowMacros[window].append(macro);
            }
        }
    }
    return out;
}

} // namespace ts::helpfile::reading
