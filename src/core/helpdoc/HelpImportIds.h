#pragma once
// Topic IDs for the topics of a help file being imported.
//
// A compiled help file keeps a topic's Topic ID only as its context hash
// (unless it carries a Topic ID table); links from other help files and
// programs find the topic by that hash. So every topic gets an ID that
// hashes to the stored value:
//   1. a real name when the file or its contents file gives one (the Topic
//      ID table, .CNT entries, picture hotspots), or when a name met in the
//      file (a macro's argument, a title, a keyword, a hotspot's text, in a
//      few spellings) hashes to it;
//   2. otherwise a readable name built from the title with a short suffix
//      chosen so that the whole hashes to the stored value;
//   3. a topic no context entry leads to gets its title's name, made unique.
// Links are named the same way: a target in this file by its topic's ID, a
// target elsewhere by its real name or a made-up one with the same hash.
// Everything that was renamed or could not be kept goes to the import log.

#include "HelpImportLog.h"
#include "helpfile/HelpDocument.h"

#include <QString>
#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace ts::helpimport {

inline constexpr int MaxTopicIdLength = 50;

// Whether `name`, upper-cased, can be a project Topic ID that hashes to
// `hash`: 1 to 50 Windows-1252 characters, no blank, none of the characters
// a Topic ID refuses, and upper-casing leaves the hash as it was.
bool holdsAsTopicId(const QString& name, std::int32_t hash);

// A readable start for a Topic ID made from `text` (a title, a hotspot's
// text): its ASCII letters and digits upper-cased, every other run of
// characters one "_", at most `maxLength` characters; "TOPIC" when nothing
// is left.
QString idStem(const QString& text, int maxLength);

// `prefix` followed by the shortest suffix of digits and capital letters
// that gives the whole the context hash `hash`; the prefix is cut so that
// the result keeps within `maxLength`.
//
// The hash runs h = h * 43 + weight(byte) modulo 2^32, so a suffix of k
// characters adds the number whose base-43 digits are their weights to
// hash(prefix) * 43^k. The suffix is that number's base-43 digits, for the
// first lift (target + m * 2^32) whose every digit is the weight of a digit
// or a capital letter (weights 1 to 10 and 17 to 42).
QString idWithHash(const QString& prefix, std::int32_t hash, int maxLength = MaxTopicIdLength);

// Whether `file` (as a link or contents entry names it, perhaps with a
// path) is the help file `document` was read from: such a link stays in
// the project.
bool namesThisHelpFile(const HelpDocument& document, const QString& file);

class TopicNames {
public:
    // Decodes every topic's text (the document keeps it for the converter).
    TopicNames(const HelpDocument& document, ImportLog& log);

    // The project Topic ID of topic `index` of the document.
    const QString& topicId(int index) const { return ids_[size_t(index)]; }
    int topicCount() const { return int(ids_.size()); }

    // The Topic ID a jump or pop-up names (without window or file); the
    // hotspot's text gives a made-up name its readable start. Logs targets
    // that no topic of the file has and targets inside a topic.
    QString linkTarget(const HelpHotspot& hotspot, const QString& hotspotText, int fromTopic);

    // The Topic ID for a name met elsewhere (a contents entry): the ID of
    // the topic it leads to in this file, or the name as it stands.
    QString targetForName(const QString& name) const;

private:
    void gatherNames();
    void matchCandidates();
    void assignIds();
    void assignHashedId(int topic, const std::vector<std::int32_t>& hashes);
    void nameUnreachable(const std::vector<int>& topics);
    QString nameFor(std::int32_t hash) const;
    QString madeUpName(std::int32_t hash, const QString& text);

    const HelpDocument& doc_;
    ImportLog& log_;
    std::vector<QString> ids_;
    std::map<std::int32_t, QString> names_;  // hash -> a name that hashes to it
    std::set<std::int32_t> linkHashes_;      // every hash a hotspot names
    std::map<std::int32_t, QString> madeUp_; // hash -> name made for a target elsewhere
    std::set<QString> usedIds_;
};

} // namespace ts::helpimport
