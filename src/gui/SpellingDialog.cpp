#include "SpellingDialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

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

QString SpellingDialog::contextHtml(const Speller::Question& q)
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

SpellingDialog::SpellingDialog(const Speller::Question& q, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SpellingDialog"));
    setWindowTitle(QStringLiteral("Spell Check"));

    auto* notFound = new QLabel(QStringLiteral("Not in dictionary:"), this);
    Context = new QLabel(contextHtml(q), this);
    Context->setObjectName(QStringLiteral("Context"));
    Context->setTextFormat(Qt::RichText);
    Context->setWordWrap(true);
    Context->setMinimumWidth(360);

    ChangeTo = new QLineEdit(this);
    ChangeTo->setObjectName(QStringLiteral("ChangeTo"));
    auto* changeLabel = new QLabel(QStringLiteral("C&hange to:"), this);
    changeLabel->setBuddy(ChangeTo);

    Suggestions = new QListWidget(this);
    Suggestions->setObjectName(QStringLiteral("Suggestions"));
    Suggestions->addItems(q.suggestions);
    auto* suggestLabel = new QLabel(QStringLiteral("&Suggestions:"), this);
    suggestLabel->setBuddy(Suggestions);
    ChangeTo->setText(q.suggestions.isEmpty() ? q.word : q.suggestions.first());
    if (!q.suggestions.isEmpty())
        Suggestions->setCurrentRow(0);
    connect(Suggestions, &QListWidget::currentTextChanged, ChangeTo, &QLineEdit::setText);
    connect(Suggestions, &QListWidget::itemDoubleClicked, this, [this] { finish(Speller::Answer::Kind::Change); });

    IgnoreButton = new QPushButton(QStringLiteral("&Ignore"), this);
    IgnoreAllButton = new QPushButton(QStringLiteral("I&gnore All"), this);
    ChangeButton = new QPushButton(QStringLiteral("&Change"), this);
    AddButton = new QPushButton(QStringLiteral("&Add"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    ChangeButton->setDefault(true);
    connect(IgnoreButton, &QPushButton::clicked, this, [this] { finish(Speller::Answer::Kind::Ignore); });
    connect(IgnoreAllButton, &QPushButton::clicked, this, [this] { finish(Speller::Answer::Kind::IgnoreAll); });
    connect(ChangeButton, &QPushButton::clicked, this, [this] { finish(Speller::Answer::Kind::Change); });
    connect(AddButton, &QPushButton::clicked, this, [this] { finish(Speller::Answer::Kind::Add); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { finish(Speller::Answer::Kind::Cancel); });

    auto* left = new QVBoxLayout;
    left->addWidget(notFound);
    left->addWidget(Context);
    left->addWidget(changeLabel);
    left->addWidget(ChangeTo);
    left->addWidget(suggestLabel);
    left->addWidget(Suggestions);
    auto* right = new QVBoxLayout;
    for (QPushButton* b : {IgnoreButton, IgnoreAllButton, ChangeButton, AddButton, CancelButton})
        right->addWidget(b);
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    ChangeTo->setFocus();
    ChangeTo->selectAll();
}

void SpellingDialog::finish(Speller::Answer::Kind kind)
{
    answer_.kind = kind;
    answer_.replacement = kind == Speller::Answer::Kind::Change ? ChangeTo->text() : QString();
    if (kind == Speller::Answer::Kind::Cancel)
        reject();
    else
        accept();
}

Speller::Answer SpellingDialog::ask(const Speller::Question& question)
{
    SpellingDialog dialog(question, QApplication::activeWindow());
    // Escape and the window's close button end up here with answer_ still
    // at its default, Cancel.
    dialog.exec();
    return dialog.answer();
}

} // namespace ts
