#include "ContentsEditing.h"

#include <algorithm>

namespace ts {
namespace {

// The list that holds the entry at `path` (the top level for a one-step
// path), or nullptr when the path leads nowhere above its last step.
std::vector<ContentsEntry>* siblingsOf(ContentsTree& tree, const ContentsPath& path)
{
    if (path.empty())
        return nullptr;
    std::vector<ContentsEntry>* list = &tree;
    for (size_t k = 0; k + 1 < path.size(); ++k) {
        const int i = path[k];
        if (i < 0 || size_t(i) >= list->size())
            return nullptr;
        list = &(*list)[size_t(i)].Children;
    }
    return list;
}

bool valid(const std::vector<ContentsEntry>* list, int i)
{
    return list && i >= 0 && size_t(i) < list->size();
}

} // namespace

ContentsEntry* contentsAt(ContentsTree& tree, const ContentsPath& path)
{
    std::vector<ContentsEntry>* list = siblingsOf(tree, path);
    return valid(list, path.empty() ? -1 : path.back()) ? &(*list)[size_t(path.back())] : nullptr;
}

const ContentsEntry* contentsAt(const ContentsTree& tree, const ContentsPath& path)
{
    return contentsAt(const_cast<ContentsTree&>(tree), path);
}

ContentsPath insertContentsEntry(ContentsTree& tree, const ContentsPath& target, ContentsEntry entry,
                                 ContentsPlacement placement)
{
    ContentsEntry* on = contentsAt(tree, target);
    if (!on) {
        tree.push_back(std::move(entry));
        return ContentsPath{int(tree.size()) - 1};
    }
    if (placement == ContentsPlacement::AsChild) {
        on->Expanded = true;
        on->Children.push_back(std::move(entry));
        ContentsPath path = target;
        path.push_back(int(on->Children.size()) - 1);
        return path;
    }
    std::vector<ContentsEntry>* level = siblingsOf(tree, target);
    level->push_back(std::move(entry));
    ContentsPath path = target;
    path.back() = int(level->size()) - 1;
    return path;
}

std::optional<ContentsPath> moveContentsEntry(ContentsTree& tree, const ContentsPath& from,
                                              const ContentsPath& target)
{
    if (!contentsAt(tree, from) || !contentsAt(tree, target))
        return std::nullopt;
    if (from == target)
        return from;
    if (target.size() > from.size() && std::equal(from.begin(), from.end(), target.begin()))
        return std::nullopt; // onto one of its own sub-entries

    std::vector<ContentsEntry>* source = siblingsOf(tree, from);
    ContentsEntry moved = std::move((*source)[size_t(from.back())]);
    source->erase(source->begin() + from.back());

    // Taking the entry out shifts the target when it was a later sibling of
    // the entry or lay under one.
    ContentsPath to = target;
    const size_t d = from.size() - 1;
    if (to.size() > d && std::equal(from.begin(), from.begin() + qsizetype(d), to.begin()) && to[d] > from[d])
        --to[d];

    std::vector<ContentsEntry>* dest = siblingsOf(tree, to);
    dest->insert(dest->begin() + to.back(), std::move(moved));
    return to;
}

std::optional<ContentsPath> changeContentsLevel(ContentsTree& tree, const ContentsPath& path, int step)
{
    std::vector<ContentsEntry>* level = siblingsOf(tree, path);
    if (!valid(level, path.empty() ? -1 : path.back()))
        return std::nullopt;
    const int at = path.back();
    if (step > 0) {
        if (at == 0 || (*level)[size_t(at - 1)].Kind != ContentsKind::Heading)
            return std::nullopt;
        ContentsEntry& heading = (*level)[size_t(at - 1)];
        heading.Expanded = true;
        heading.Children.push_back(std::move((*level)[size_t(at)]));
        ContentsPath to(path.begin(), path.end() - 1);
        to.push_back(at - 1);
        to.push_back(int(heading.Children.size()) - 1);
        level->erase(level->begin() + at);
        return to;
    }
    if (path.size() < 2)
        return std::nullopt;
    const ContentsPath parentPath(path.begin(), path.end() - 1);
    std::vector<ContentsEntry>* outer = siblingsOf(tree, parentPath);
    ContentsEntry moved = std::move((*level)[size_t(at)]);
    level->erase(level->begin() + at);
    const int after = parentPath.back() + 1;
    outer->insert(outer->begin() + after, std::move(moved));
    ContentsPath to = parentPath;
    to.back() = after;
    return to;
}

ContentsPath removeContentsEntry(ContentsTree& tree, const ContentsPath& path)
{
    std::vector<ContentsEntry>* list = siblingsOf(tree, path);
    if (!valid(list, path.empty() ? -1 : path.back()))
        return {};
    const int i = path.back();
    list->erase(list->begin() + i);
    ContentsPath next = path;
    if (size_t(i) < list->size())
        return next;
    if (i > 0) {
        next.back() = i - 1;
        return next;
    }
    next.pop_back();
    return next;
}

int removeTopicsWithoutId(ContentsTree& tree)
{
    int removed = 0;
    for (auto it = tree.begin(); it != tree.end();) {
        if (it->Kind == ContentsKind::Topic && !it->Text.contains(QLatin1Char('='))) {
            removed += 1;
            it = tree.erase(it);
        } else {
            removed += removeTopicsWithoutId(it->Children);
            ++it;
        }
    }
    return removed;
}

QString contentsTextForTopic(const QString& title, const QString& topicId, int windowIndex,
                             const QString& windowName)
{
    QString text = title + QLatin1Char('=') + topicId;
    if (windowIndex != 0)
        text += QLatin1Char('>') + windowName;
    return text;
}

} // namespace ts
