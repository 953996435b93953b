#include "SpellingDialog.h"

#include "WindowPlacer.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QShowEvent>
#include <QVBoxLayout>

#include <optional>

namespace ts {

namespace {

constexpr qsizetype ContextChars = 40;

QString oneLine(QString s)
{
    for (QChar& c : s)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator ||
            c == QChar::LineSeparator || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    return s.toHtmlEscaped();
}

} // namespace

QString SpellingDialog::contextHtml(const SpellingQuestion& q)
{
    const qsizetype start = qMax<qsizetype>(0, q.offset - ContextChars);
    const qsizetype end = qMin(q.text.size(), q.offset + q.word.size() + ContextChars);
    QString html;
    if (start > 0)
        html += QStringLiteral("...");
    html += oneLine(q.text.mid(start, q.offset - start));
    html += QStringLiteral("<b>") + oneLine(q.word) + QStringLiteral("</b>");
    html += oneLine(q.text.mid(q.offset + q.word.size(), end - q.offset - q.word.size()));
    if (end < q.text.size())
        html += QStringLiteral("...");
    return html;
}

SpellingDialog::SpellingDialog(const SpellingQuestion& q, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SpellingDialog"));
    setWindowTitle(QStringLiteral("Spell Check"));

    auto* notFound = new QLabel(QStringLiteral("Not in dictionary:"), this);
    contextLabel = new QLabel(contextHtml(q), this);
    contextLabel->setObjectName(QStringLiteral("contextLabel"));
    contextLabel->setTextFormat(Qt::RichText);
    contextLabel->setWordWrap(true);
    contextLabel->setMinimumWidth(360);

    changeToEdit = new QLineEdit(this);
    changeToEdit->setObjectName(QStringLiteral("changeToEdit"));
    auto* changeLabel = new QLabel(QStringLiteral("C&hange to:"), this);
    changeLabel->setBuddy(changeToEdit);

    suggestionList = new QListWidget(this);
    suggestionList->setObjectName(QStringLiteral("suggestionList"));
    suggestionList->addItems(q.suggestions);
    auto* suggestLabel = new QLabel(QStringLiteral("&Suggestions:"), this);
    suggestLabel->setBuddy(suggestionList);
    changeToEdit->setText(q.suggestions.isEmpty() ? q.word : q.suggestions.first());
    if (!q.suggestions.isEmpty())
        suggestionList->setCurrentRow(0);
    connect(suggestionList, &QListWidget::currentTextChanged, changeToEdit, &QLineEdit::setText);
    connect(suggestionList, &QListWidget::itemDoubleClicked, this, [this] { finish(SpellingAnswer::Kind::Change); });

    ignoreButton = new QPushButton(QStringLiteral("&Ignore"), this);
    ignoreAllButton = new QPushButton(QStringLiteral("I&gnore All"), this);
    changeButton = new QPushButton(QStringLiteral("&Change"), this);
    addButton = new QPushButton(QStringLiteral("&Add"), this);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    // Enter changes the word only when a suggestion is the word itself in
    // other letter case; otherwise a guess ("exr" for "exe") would replace a
    // name the dictionary does not know, so Enter passes the word over.
    const qsizetype caseVariant = q.suggestions.indexOf(QRegularExpression(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(q.word)),
        QRegularExpression::CaseInsensitiveOption));
    if (caseVariant >= 0)
        suggestionList->setCurrentRow(int(caseVariant));
    (caseVariant >= 0 ? changeButton : ignoreButton)->setDefault(true);
    connect(ignoreButton, &QPushButton::clicked, this, [this] { finish(SpellingAnswer::Kind::Ignore); });
    connect(ignoreAllButton, &QPushButton::clicked, this, [this] { finish(SpellingAnswer::Kind::IgnoreAll); });
    connect(changeButton, &QPushButton::clicked, this, [this] { finish(SpellingAnswer::Kind::Change); });
    connect(addButton, &QPushButton::clicked, this, [this] { finish(SpellingAnswer::Kind::Add); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { finish(SpellingAnswer::Kind::Cancel); });

    auto* left = new QVBoxLayout;
    left->addWidget(notFound);
    left->addWidget(contextLabel);
    left->addWidget(changeLabel);
    left->addWidget(changeToEdit);
    left->addWidget(suggestLabel);
    left->addWidget(suggestionList);
    auto* right = new QVBoxLayout;
    for (QPushButton* b : {ignoreButton, ignoreAllButton, changeButton, addButton, cancelButton})
        right->addWidget(b);
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    changeToEdit->setFocus();
    changeToEdit->selectAll();
}

void SpellingDialog::finish(SpellingAnswer::Kind kind)
{
    answer_.kind = kind;
    answer_.replacement = kind == SpellingAnswer::Kind::Change ? changeToEdit->text() : QString();
    if (kind == SpellingAnswer::Kind::Cancel)
        reject();
    else
        accept();
}

void SpellingDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The place the last dialog was left may be off the screen by now (a
    // screen unplugged or made smaller).
    if (!event->spontaneous())
        keepOnScreen(*this);
}

SpellingAnswer SpellingDialog::ask(const SpellingQuestion& question)
{
    // Each word gets a dialog of its own; it opens where the one before was
    // (where the user last put it), so it does not jump about while the
    // check moves from word to word.
    static std::optional<QPoint> lastPosition;
    SpellingDialog dialog(question, QApplication::activeWindow());
    if (lastPosition)
        dialog.move(*lastPosition);
    // Escape and the window's close button end up here with answer_ still
    // at its default, Cancel.
    dialog.exec();
    lastPosition = dialog.pos();
    return dialog.answer();
}

} // namespace ts
