#!/usr/bin/env python3
"""Rename the core's PascalCase functions and methods to lowerCamelCase.

Usage:  tools/rename-core-names.py [--check] [ROOT]

ROOT defaults to the repository this script lives in. Every .h/.cpp under
src/, tests/, bench/ and fuzz/ is rewritten in place. Running the script a
second time changes nothing (it only looks for the old names).

What is renamed: the names in RENAMES below, whole words only, where they
are declared or called: the name is followed by "(". Inside string and
character literals nothing changes; comments change only where they write a
call ("FindTopic()", "Topic(i)"), so prose using the same word stays. A name
under a scope other than its owners' (OWNER_SCOPES) is left alone: Qt enum
values (QDialogButtonBox::Reset, QPalette::Window), core enum values
(ContentsKind::Topic) and types (a test's hlpread::Topic). Data members that
share a function's name (ContentsEntry::Window, TopicCheck::BlankNotice) keep
their names, as data members do. What was left alone is listed at the end.

What is kept on purpose (not in the table):
- type names (classes, structs, enums) and constructors;
- the project file's own vocabulary: TopicCount(), WindowCount(), the record
  fields of TTopicRecord/TWindowRecord and their HeaderLen()/BodyLen();
- data members and constants (enum values, *Text constants, sizes).

--check reports what would change and exits 1 if anything would, without
writing. --verbose also lists the new names that were already in use as
identifiers (where a parameter or a member might hide a renamed function).
"""

import os
import re
import sys

# Old name -> new name. Functions, methods and static member functions
# declared in src/core (plus a few file-local helpers in its .cpp files).
RENAMES = [
    # model/Project
    "AddTopic", "AddWindow", "DeleteTopic", "DeleteWindow", "FindTopic",
    "IsUnnamed", "IsUnnamedPath", "ProgramFolder", "ProjectBase", "Reset",
    "Topic", "TopicTableFull", "UnnamedPath", "Window", "WindowOf",
    # model/ProjectFile, WholeFile, UserInteger, TopicList, SaveAsCompanions
    "IsProjectFileName", "NotAProjectFileMessage", "CopyWholeFile",
    "ReadWholeFile", "WriteAllBytes", "WriteWholeFile", "NotAnIntegerMessage",
    "ParseUserInteger", "TopicListLines", "PlanSaveAsCompanions",
    # model/TopicRules
    "BlankNotice", "CallIdInUse", "CheckTopicProperties", "ForbiddenCharacter",
    "ForbiddenTopicIdCharacter", "InvalidCallId", "NoTopicId", "ProposeCallId",
    "TopicIdInUse", "UpperTopicId",
    # model/WindowRules
    "AddWindowLikeMain", "CannotDeleteMain", "CheckNewWindowName",
    "DeleteCaption", "DeleteQuestion", "HelpUnitsToPixels",
    "InvalidSizeOrPosition", "LoadWindowFields", "NameTooLong", "NoNewName",
    "PixelsToHelpUnits", "StoreWindowFields", "TooManyWindows",
    "WindowFieldsHoldIntegers",
    # contents
    "ComposeContentsText", "ContentsAt", "ContentsDropAsks",
    "ContentsNodeCount", "ContentsNodes", "ContentsTextForTopic",
    "EntryTextRefusal", "InsertContentsEntry", "MoveContentsEntry",
    "RemoveContentsEntry", "RemoveTopicsWithoutId", "SiblingsOf",
    "SplitContentsText",
    # links
    "BitmapMarkup", "OtherHelpFileLink", "OtherHelpFileRefusal",
    "RelatedTopicsButton", "RenameInContentsEntry", "RenameInLinks",
    "TopicChoiceText", "TopicIdPrompt", "TopicIdRename", "TopicLink",
    "TopicWindowMove", "UpdateJumps", "UpdateLinks", "WebLink", "WindowRename",
    # helpsource
    "BuildAllWithoutCompiling", "BuildProjectAndContents", "BuildTopicFile",
    "CompilerFileName", "MakeCompilerCommand", "PlanCompilerLaunch",
    "WindowsFormOfPath", "WineAvailable",
    # search, spelling, settings, cli
    "SearchStep", "SearchTopics", "SearchUpper", "TopicTextLines",
    "IsSpellException", "NextWord", "RunSpellCheck", "SpellExceptionWords",
    "SplitWords", "ArrangeReopen", "RunHeadless", "UsageText",
]

# A qualified name is renamed only after one of these scopes; any other scope
# (QPalette::Window, ContentsKind::Topic, hlpread::Topic, std::...) names
# something else: a Qt or core enum value, a type.
OWNER_SCOPES = {"ts", "links", "Project", "ProjectFile", "RecentFiles",
                "TopicMessages", "WindowMessages", "ContentsFile"}
SCOPE_BEFORE = re.compile(r"\b([A-Za-z_][A-Za-z0-9_]*)\s*::\s*$")
KEYWORD_BEFORE = re.compile(r"\b(?:class|struct|enum|union|namespace)\s+$")
SUBDIRS = ("src", "tests", "bench", "fuzz")


def new_name(old):
    return old[0].lower() + old[1:]


TABLE = {old: new_name(old) for old in RENAMES}
WORD = re.compile(r"\b(" + "|".join(sorted(TABLE, key=len, reverse=True)) + r")\b")

# Splits source into literals, comments and code. Raw strings first, then
# ordinary strings and character literals (with escapes), then comments.
LEXEME = re.compile(
    r'(?P<raw>\b(?:u8|u|U|L)?R"(?P<delim>[^()\\\s]{0,16})\(.*?\)(?P=delim)")'
    r'|(?P<str>(?:\b(?:u8|u|U|L))?"(?:[^"\\\n]|\\.)*")'
    r"|(?P<chr>(?<![A-Za-z0-9_])'(?:[^'\\\n]|\\.)*')"
    r"|(?P<line>//[^\n]*)"
    r"|(?P<block>/\*.*?\*/)",
    re.S,
)


# Outside src/core a renamed free function may meet a GUI member of the same
# new name (BuildCommands::buildTopicFile() calling BuildTopicFile()); there an
# unqualified call would find the member. Calls of such names outside the core
# are written ts::name(...). Filled in by main() from the tree being renamed.
QUALIFY = set()
# The namespace each such function is declared in, where it is not plain ts.
NAMESPACE_OF = {
    **dict.fromkeys(["BitmapMarkup", "OtherHelpFileLink", "OtherHelpFileRefusal",
                     "RelatedTopicsButton", "TopicChoiceText", "TopicIdPrompt",
                     "TopicLink", "WebLink"], "ts::links::"),
    **dict.fromkeys(["IsProjectFileName", "NotAProjectFileMessage"], "ts::ProjectFile::"),
    **dict.fromkeys(["BlankNotice", "CallIdInUse", "ForbiddenCharacter", "InvalidCallId",
                     "NoTopicId", "TopicIdInUse"], "ts::TopicMessages::"),
    **dict.fromkeys(["CannotDeleteMain", "DeleteCaption", "DeleteQuestion",
                     "InvalidSizeOrPosition", "NameTooLong", "NoNewName",
                     "TooManyWindows"], "ts::WindowMessages::"),
    "EntryTextRefusal": "ts::ContentsFile::",
}
MEMBER_BEFORE = re.compile(r"(?:\.|->|::|~)\s*$")

# Occurrences of table names left alone in code (not a call, or under another
# scope), reported so that a reader can check them.
LEFT = []


def rename_code(code, prefix_text="", outside_core=False, where=""):
    def repl(m):
        before = (prefix_text + code[: m.start()])[-64:]
        old = m.group(1)
        scope = SCOPE_BEFORE.search(before)
        # Only calls and declarations of functions: the name is followed by
        # "(". Data members and enum values that share a name
        # (ContentsEntry::Window, ContentsKind::Topic) stay as they are.
        if ((scope and scope.group(1) not in OWNER_SCOPES) or KEYWORD_BEFORE.search(before)
                or not re.match(r"\s*\(", code[m.end():])):
            LEFT.append((where, old))
            return old
        new = TABLE[old]
        if outside_core and old in QUALIFY and not MEMBER_BEFORE.search(before):
            return NAMESPACE_OF.get(old, "ts::") + new
        return new

    return WORD.sub(repl, code)


def rename_comment(text):
    # Only names written as calls: "FindTopic()" or "Topic(i)".
    return re.sub(
        r"\b(" + "|".join(sorted(TABLE, key=len, reverse=True)) + r")(?=\()",
        lambda m: TABLE[m.group(1)],
        text,
    )


def rename_source(text, outside_core=False, where=""):
    out = []
    pos = 0
    for m in LEXEME.finditer(text):
        code = text[pos : m.start()]
        out.append(rename_code(code, "".join(out)[-64:], outside_core, where))
        if m.group("line") or m.group("block"):
            out.append(rename_comment(m.group(0)))
        else:
            out.append(m.group(0))
        pos = m.end()
    out.append(rename_code(text[pos:], "".join(out)[-64:], outside_core, where))
    return "".join(out)


def source_files(root):
    for sub in SUBDIRS:
        top = os.path.join(root, sub)
        for dirpath, _dirs, files in os.walk(top):
            for name in sorted(files):
                if name.endswith((".h", ".cpp")):
                    yield os.path.join(dirpath, name)


def collisions(root):
    """New names that already exist as identifiers somewhere: each needs a look
    (a parameter or local of that name shadows the renamed function)."""
    seen = {}
    ident = re.compile(r"\b[a-z][A-Za-z0-9_]*\b")
    wanted = set(TABLE.values())
    for path in source_files(root):
        with open(path, encoding="utf-8") as f:
            for word in ident.findall(f.read()):
                if word in wanted:
                    seen.setdefault(word, set()).add(os.path.relpath(path, root))
    return seen


def main(argv):
    check = "--check" in argv
    args = [a for a in argv if not a.startswith("--")]
    root = args[0] if args else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    if len(set(TABLE.values())) != len(TABLE):
        sys.exit("rename table maps two names to one")

    before = collisions(root)
    core = os.path.join("src", "core") + os.sep
    for old, new in TABLE.items():
        if any(not f.startswith(core) for f in before.get(new, ())):
            QUALIFY.add(old)
    changed = []
    for path in source_files(root):
        with open(path, encoding="utf-8") as f:
            text = f.read()
        rel = os.path.relpath(path, root)
        new = rename_source(text, not rel.startswith(core), rel)
        if new != text:
            changed.append(rel)
            if not check:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(new)

    for name in changed:
        print(("would change " if check else "changed ") + name)
    print(f"{len(TABLE)} names in the table, {len(changed)} files "
          + ("would change" if check else "changed"))
    if LEFT:
        print("occurrences left as they are (not a call, or another scope's name):")
        for where, old in sorted(set(LEFT)):
            print(f"  {where}: {old}")
    if before and "--verbose" in argv:
        print("new names already used as identifiers before renaming (check for shadowing):")
        for word in sorted(before):
            print(f"  {word}: {', '.join(sorted(before[word])[:4])}"
                  + (" ..." if len(before[word]) > 4 else ""))
    return 1 if (check and changed) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
